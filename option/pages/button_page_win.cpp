#include "option/pages/button_page_win.h"

#include <string>
#include <vector>

#include "common/settings/key_codes_win.h"
#include "common/trace_points.h"
#include "common/win/program_folder_win.h"
#include "option/model/dialogs/macro_store.h"
#include "option/model/session/option_session.h"
#include "option/option_globals_win.h"
#include "option/pages/assignment_menu_win.h"
#include "option/model/pages/assignment_command.h"
#include "option/model/pages/button_captions.h"
#include "option/pages/page_dialogs_win.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_main_control.ini";
constexpr UINT kFirstCommand = 1001;

class LanStrings final : public StringSource {
  public:
    std::string Text(unsigned id) const override { return LanString(id); }
};

// The macro store as the menu and the command handler take it; the names are
// kept here so that the handler's views stay valid.
struct StoreMacros {
    explicit StoreMacros(const MacroFileStore& store) {
        const int count = store.Count();
        names.reserve(static_cast<std::size_t>(count));
        for (int k = 0; k < count; ++k)
            names.push_back(NameOf(store.MacroAt(k)->name, kMacroNameSize));
        for (int k = 0; k < count; ++k) {
            const MacroRecord& record = *store.MacroAt(k);
            MacroForButton macro;
            macro.name = names[static_cast<std::size_t>(k)];
            macro.eventCount = static_cast<std::uint32_t>(record.eventCount);
            macro.events = record.events;
            macro.repeatCount = record.repeatValue;
            forButton.push_back(macro);
        }
    }
    std::vector<std::string> names;
    std::vector<MacroForButton> forButton;
};

}  // namespace

std::span<const win::MessageRow<CButtonPage>> CButtonPage::MessageMap() {
    static constexpr Row own[] = {
        win::OnMessage<skin::kMsgPaintInto, &CButtonPage::OnPaintInto>(),
        win::OnCommandRange<&CButtonPage::OnButtonClick>(
            kFirstAssignButtonId, kFirstAssignButtonId + settings::kButtonCount - 1),
        win::OnCommandRange<&CButtonPage::OnAssignment>(kFirstCommand, command::kLastAssignment),
    };
    static constexpr auto rows = Table(std::to_array(own));
    return rows;
}

void CButtonPage::AddFirstPaintPictures(std::vector<std::string>& paths) {
    static constexpr const char* kFirstPaint[] = {"Mask", "Normal"};
    skin::AddSkinPictures(kSkinFile, kFirstPaint, paths);
}

CButtonPage::CButtonPage(PageHost& host)
    : SkinnedPage(kSkinFile, button_page::kControls), host_(host) {}

void CButtonPage::BuildControl(const skin::ControlRow& row, const skin::ButtonPos& pos,
                               const skin::SkinSheets& sheets) {
    buttons_[static_cast<std::size_t>(row.key - 1)].CreateFromPos(
        Hwnd(), pos, static_cast<UINT>(row.id), sheets);
}

void CButtonPage::Refresh() {
    const settings::ProfileRecord* profile = host_.Session().CurrentProfile();
    if (profile == nullptr)
        return;
    const LanStrings strings;
    for (int i = 0; i < settings::kButtonCount; ++i) {
        skin::CSkinButton& button = buttons_[static_cast<std::size_t>(i)];
        if (button.Hwnd() == nullptr)
            continue;
        button.SetFaceText(
            ButtonCaption(i, profile->MacroKeyInfo[i], strings, settings::CurrentKeyboardLayout()));
        InvalidateRect(button.Hwnd(), nullptr, FALSE);
        UpdateWindow(button.Hwnd());
    }
}

LRESULT CButtonPage::OnPaintInto(win::WParam<HDC> dc) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    surface_.PaintInto(dc.value, client);
    return 1;
}

LRESULT CButtonPage::OnButtonClick(UINT id, UINT code) {
    if (code == BN_CLICKED)
        OpenMenu(static_cast<int>(id - kFirstAssignButtonId));
    return 0;
}

void CButtonPage::OpenMenu(int entry) {
    const settings::ProfileRecord* profile = host_.Session().CurrentProfile();
    if (profile == nullptr || entry < 0 || entry >= settings::kButtonCount)
        return;
    selected_ = entry;
    const settings::ButtonAssignment info = profile->MacroKeyInfo[entry];
    const StoreMacros macros(host_.Macros());
    skin::CSkinButton& button = buttons_[static_cast<std::size_t>(entry)];
    RECT r{};
    GetWindowRect(button.Hwnd(), &r);
    {
        const LanStrings strings;
        SetAssignmentMenuFrame();
        SkinnedAssignmentMenu menu(BuildAssignmentMenu(entry, info, macros.names), strings);
        win::DebugText(trace::kButtonMenu, entry);
        menu.Track(Hwnd(), POINT{r.left, r.bottom});
        // Lets the menu loop finish cleanly before its menus go.
        PostMessageA(Hwnd(), WM_NULL, 0, 0);
    }
    button.SetHover(false);
    SendMessageA(button.Hwnd(), BM_SETSTATE, FALSE, 0);
    InvalidateRect(button.Hwnd(), nullptr, FALSE);
    UpdateWindow(button.Hwnd());
    // Back on the button, so that the keyboard goes on from where it was.
    SetFocus(button.Hwnd());
}

LRESULT CButtonPage::OnAssignment(UINT id) {
    settings::SettingsBlock& block = host_.Session().Edit();
    const settings::ProfileRecord* profile = settings::CurrentProfile(block);
    if (profile == nullptr)
        return 0;
    const settings::ButtonAssignment& entry = profile->MacroKeyInfo[selected_];
    const std::string held = entry.actionCode == settings::action::kMacro
                                 ? NameOf(entry.macroName, sizeof entry.macroName)
                                 : std::string();
    win::DebugText(trace::kButtonCommand, id, selected_);
    PageDialogs dialogs(GetAncestor(Hwnd(), GA_ROOT), host_.Session(), host_.Macros(), held);
    const StoreMacros macros(host_.Macros());
    const AssignmentOutcome outcome =
        HandleAssignmentCommand(block, selected_, id, macros.forButton, dialogs);
    win::DebugText(trace::kButtonCommandOutcome, id, selected_, static_cast<int>(outcome));
    // The macro manager may have renamed the macro a button shows.
    Refresh();
    return 0;
}

}  // namespace option
