#include "monitor/device/upload_runner.h"

#include <memory>

#include "monitor/device/device_link_win.h"
#include "monitor/device/precise_pacer_win.h"

namespace device {

void LinkTransport::SendCommand(const CommandReport& report) {
    link_.SendCommand(report);
}

int LinkTransport::WriteChunk(const DataChunk& chunk) {
    return link_.WriteChunk(chunk);
}

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
