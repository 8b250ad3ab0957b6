#include "monitor/device/upload_runner.h"

#include "monitor/device/device_link_win.h"

namespace device {

// The command reports and their order come with the device link; until then a
// job has nothing to send.
void RunUploadJob(protocol::UploadJob, const settings::SettingsBlock&, DeviceLink&,
                  const std::atomic<std::int32_t>&) {}

}  // namespace device
