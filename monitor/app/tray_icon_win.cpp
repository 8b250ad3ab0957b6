#include "monitor/app/tray_icon_win.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "common/protocol.h"
#include "common/win/program_folder_win.h"
#include "common/win/wide_text_win.h"

namespace monitor {

namespace {

HICON SmallExecutableIcon() {
    // The program's own icon at the size the system asks for (16, 20, 24 or
    // 32 pixels from 100 % to 200 %): the icon file holds each of them, so
    // nothing is stretched. The shell's small icon only when that fails.
    if (auto own = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0))) {
        return own;
    }
    const std::wstring path = win::ModulePathWide(nullptr);
    SHFILEINFOW info{};
    if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) != 0)
        return info.hIcon;
    return nullptr;
}

NOTIFYICONDATAW BaseData(HWND owner) {
    NOTIFYICONDATAW data{};
    // The version-2 layout: what every shell since 2000 understands.
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = owner;
    data.uID = protocol::kTrayIconId;
    return data;
}

// UTF-8 `text` into a fixed field, cut to fit with its NUL.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::string& text) {
    const std::wstring wide = win::Widen(text, CP_UTF8);
    const std::size_t length = wide.size() < N - 1 ? wide.size() : N - 1;
    wide.copy(field, length);
    field[length] = L'\0';
}

}  // namespace

TrayIcon::~TrayIcon() {
    Remove();
}

bool TrayIcon::Add(HWND owner, const std::string& tip) {
    if (!icon_)
        icon_.Reset(SmallExecutableIcon());
    owner_ = owner;
    NOTIFYICONDATAW data = BaseData(owner);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = protocol::kMsgTrayNotify;
    data.hIcon = icon_.Get();
    CopyField(data.szTip, tip);
    // After a shell restart the old icon is gone; adding again is what is wanted.
    shown_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE || shown_;
    return shown_;
}

void TrayIcon::Remove() {
    if (owner_ == nullptr)
        return;
    NOTIFYICONDATAW data = BaseData(owner_);
    Shell_NotifyIconW(NIM_DELETE, &data);
    shown_ = false;
}

bool TrayIcon::ShowBalloon(const std::string& title, const std::string& text, bool warning) {
    if (!shown_ || owner_ == nullptr)
        return false;
    NOTIFYICONDATAW data = BaseData(owner_);
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
    CopyField(data.szInfoTitle, title);
    CopyField(data.szInfo, text);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void ShowTrayMenu(HWND owner, const std::vector<TrayMenuItem>& items) {
    if (items.empty())
        return;
    const win::ScopedMenu owned(CreatePopupMenu());
    const HMENU menu = owned.Get();
    if (menu == nullptr)
        return;
    for (const TrayMenuItem& item : items) {
        if (item.command == 0)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING, item.command, win::Widen(item.text, CP_UTF8).c_str());
    }
    SetMenuDefaultItem(menu, items.front().command, FALSE);
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageA(owner, WM_NULL, 0, 0);
}

}  // namespace monitor
