// What Monitor's upload thread needs from the device side: the device link as
// the upload sequence's transport, and a whole job run on a private copy of
// the settings block, watching the abort flag.
#pragma once

#include <atomic>
#include <cstdint>

#include "common/protocol.h"
#include "common/settings/settings_block.h"
#include "monitor/device/upload_sequence.h"

namespace device {

class DeviceLink;

// The upload sequence's transfers go to the mouse through the device link.
class LinkTransport : public Transport {
  public:
    explicit LinkTransport(DeviceLink& link) : link_(link) {}
    void SendCommand(const CommandReport& report) override;
    int WriteChunk(const DataChunk& chunk) override;

  private:
    DeviceLink& link_;
};

// Runs upload job `job` against the mouse. `block` is the job's own copy, taken
// when the job started. Returns when the job is done or `abort` became 1.
void RunUploadJob(protocol::UploadJob job, const settings::SettingsBlock& block, DeviceLink& link,
                  const std::atomic<std::int32_t>& abort);

// The same with hooks: job 3 calls hooks.afterProfileSelected (the profile
// notice) once the selection has been sent and its pause is over. True when
// the job ran to its end.
bool RunUploadJob(protocol::UploadJob job, const settings::SettingsBlock& block, DeviceLink& link,
                  const std::atomic<std::int32_t>& abort, const UploadHooks& hooks);

}  // namespace device
