#include "osd/osd_window_win.h"

#include <optional>

#include "common/protocol.h"
#include "common/settings/settings_block.h"
#include "common/win/program_folder_win.h"

namespace osd {

std::span<const win::MessageRow<COsdWnd>> COsdWnd::MessageMap() {
    using W = COsdWnd;
    static constexpr win::MessageRow<W> rows[] = {
        win::OnMessage<protocol::kMsgOsdNotice, &W::OnNotice>(),
        win::OnMessage<protocol::kMsgOsdSettingsChanged, &W::OnSettingsChanged>(),
        win::OnMessage<WM_CLOSE, &W::OnClose>(),
        win::OnMessage<WM_DESTROY, &W::OnDestroy>(),
    };
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

bool COsdWnd::CreateHidden() {
    // Until Option applies its settings and Monitor forwards them, the
    // values saved with the OSD settings record hold.
    if (const auto record = files_.Record())
        options_ = DisplayOptionsFromRecord(*record);
    win::WindowSpec spec;
    spec.className = "VantorOSDWindow";
    spec.title = protocol::kOsdTitle;
    spec.style = WS_POPUP;
    spec.exStyle = WS_EX_TOOLWINDOW;
    spec.x = 0;
    spec.y = 0;
    spec.width = 1;
    spec.height = 1;
    if (!Create(spec) || !notice_.CreatePopup())
        return false;
    // The first ShowWindow of a process takes the show command its starter
    // asked for (Monitor asks for "show normal", which activates) instead of
    // its own. That first call is spent here, on the window that stays
    // hidden, so that the notice's own show never activates anything.
    ShowWindow(Hwnd(), SW_HIDE);
    return true;
}

void COsdWnd::OnNotice(win::WParam<WPARAM> kind, win::LParam<LPARAM> data) {
    std::optional<Notice> notice;
    switch (kind.value) {
        case protocol::kOsdNoticeProfile: {
            const auto lParam = static_cast<std::uint32_t>(data.value);
            const int index = static_cast<int>(lParam >> 16);
            // The name is read only for an index that names a profile file.
            notice = ProfileNotice(
                lParam, index < settings::kProfileCount ? files_.ProfileName(index) : "");
            break;
        }
        case protocol::kOsdNoticeText:
            notice = TextNotice(files_.Message());
            break;
        case protocol::kOsdNoticeMacro: {
            const MacroInfo macro = files_.Macro();
            notice = MacroNotice(macro.number, macro.name);
            break;
        }
        default:
            win::DebugText("VantorOSD unknown notice %u\n", static_cast<unsigned>(kind.value));
            return;
    }
    if (notice)
        notice_.Show(*notice, options_);
}

void COsdWnd::OnSettingsChanged(win::LParam<LPARAM> values) {
    options_ = DisplayOptionsFromMessage(static_cast<std::uint32_t>(values.value));
}

void COsdWnd::OnClose() {
    DestroyWindow(Hwnd());
}

void COsdWnd::OnDestroy() {
    PostQuitMessage(0);
}

}  // namespace osd
