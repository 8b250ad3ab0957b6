#include "monitor/runtime/win/osd_notices_win.h"

#include <windows.h>

#include "common/protocol.h"

namespace runtime {

std::uintptr_t OsdChannelWin::FindOsdWindow() {
    return reinterpret_cast<std::uintptr_t>(FindWindowA(nullptr, protocol::kOsdTitle));
}

void OsdChannelWin::PostToOsd(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    PostMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

// Option rewrites config.ini whole at any time; a write of the profile
// functions straight into the file could land between Option's copy and its
// replace and be lost, so these values go through the same locked rewrite.
void OsdChannelWin::WriteConfig(const char* section, const char* key, const char* value) {
    settings::RewriteIniFile(files_, configIni_, [&](settings::IniFile& file) {
        return file.WriteString(section, key, value);
    });
}

}  // namespace runtime
