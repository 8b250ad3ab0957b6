// The display program's window (found by its title) and config.ini.
#pragma once

#include <string>

#include "common/settings/ini_file_win.h"
#include "monitor/runtime/osd_notices.h"

namespace runtime {

class OsdChannelWin final : public OsdChannel {
  public:
    explicit OsdChannelWin(std::string configIniPath) : configIni_(std::move(configIniPath)) {}

    std::uintptr_t FindOsdWindow() override;
    void PostToOsd(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
    void WriteConfig(const char* section, const char* key, const char* value) override;

  private:
    std::string configIni_;
    settings::SystemIniFileSystem files_;
};

}  // namespace runtime
