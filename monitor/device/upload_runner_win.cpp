#include "monitor/device/upload_runner.h"

#include <memory>

#include "monitor/device/device_link_win.h"
#include "monitor/device/precise_pacer_win.h"

namespace device {

namespace {

class LinkTransport : public Transport {
  public:
    explicit LinkTransport(DeviceLink& link) : link_(link) {}
    void SendCommand(const CommandReport& report) override { link_.SendCommand(report); }
    int WriteChunk(const DataChunk& chunk) override { return link_.WriteChunk(chunk); }

  private:
    DeviceLink& link_;
};

}  // namespace

bool RunUploadJob(protocol::UploadJob job, const settings::SettingsBlock& block, DeviceLink& link,
                  const std::atomic<std::int32_t>& abort, const UploadHooks& hooks) {
    LinkTransport transport(link);
    PrecisePacer pacer;
    // The staging areas are some 10 KB: keep them off the upload thread's stack.
    auto sequence = std::make_unique<UploadSequence>(transport, pacer, abort);
    return sequence->Run(job, block, hooks);
}

void RunUploadJob(protocol::UploadJob job, const settings::SettingsBlock& block, DeviceLink& link,
                  const std::atomic<std::int32_t>& abort) {
    RunUploadJob(job, block, link, abort, UploadHooks{});
}

}  // namespace device
