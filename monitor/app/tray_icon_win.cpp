#include "monitor/app/tray_icon_win.h"

#include <shellapi.h>

#include <cstring>

#include "common/protocol.h"

namespace monitor {

namespace {

HICON SmallExecutableIcon() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    SHFILEINFOA info{};
    if (SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) != 0 &&
        info.hIcon != nullptr) {
        return info.hIcon;
    }
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), 0));
}

NOTIFYICONDATAA BaseData(HWND owner) {
    NOTIFYICONDATAA data{};
    // The version-2 layout: what every shell since 2000 understands.
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = owner;
    data.uID = protocol::kTrayIconId;
    return data;
}

}  // namespace

TrayIcon::~TrayIcon() {
    Remove();
}

bool TrayIcon::Add(HWND owner, const std::string& tip) {
    if (!icon_)
        icon_.Reset(SmallExecutableIcon());
    owner_ = owner;
    NOTIFYICONDATAA data = BaseData(owner);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = protocol::kMsgTrayNotify;
    data.hIcon = icon_.Get();
    const std::size_t length = tip.size() < 127 ? tip.size() : 127;
    std::memcpy(data.szTip, tip.data(), length);
    data.szTip[length] = '\0';
    // After a shell restart the old icon is gone; adding again is what is wanted.
    shown_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE || shown_;
    return shown_;
}

void TrayIcon::Remove() {
    if (owner_ == nullptr)
        return;
    NOTIFYICONDATAA data = BaseData(owner_);
    Shell_NotifyIconA(NIM_DELETE, &data);
    shown_ = false;
}

void ShowTrayMenu(HWND owner, const std::string& openText, const std::string& exitText) {
    const win::ScopedMenu owned(CreatePopupMenu());
    const HMENU menu = owned.Get();
    if (menu == nullptr)
        return;
    AppendMenuA(menu, MF_STRING, protocol::kCmdOpenOption, openText.c_str());
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, protocol::kCmdExit, exitText.c_str());
    SetMenuDefaultItem(menu, protocol::kCmdOpenOption, FALSE);
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageA(owner, WM_NULL, 0, 0);
}

}  // namespace monitor
