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

void OsdChannelWin::WriteConfig(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, configIni_.c_str());
}

}  // namespace runtime
