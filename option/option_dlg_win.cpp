#include "option/option_dlg_win.h"

#include <shellapi.h>

#include <vector>

#include "common/protocol.h"
#include "common/trace_points.h"
#include "common/win/program_folder_win.h"
#include "common/win/wide_text_win.h"
#include "common/win/scoped_win.h"
#include "lan/string_ids.h"
#include "option/backup_commands_win.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/file_dialog_win.h"
#include "option/late_system_calls_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/dialogs/owned_dialogs_win.h"
#include "option/option_resource_ids.h"
#include "option/pages/button_page_win.h"
#include "option/skin/compose_paint_win.h"
#include "option/skin/picture_prefetch_win.h"
#include "option/skin/dpi_reskin_win.h"
#include "option/skin/modal_loop_win.h"
#include "option/skin/skin_accessible_win.h"
#include "option/skin/skin_menu_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/start_stages_win.h"
#include "option/skin/themed_controls_win.h"

namespace option {
namespace {

// Monitor posts a change notice for every setting the mouse changes; a burst
// of them queues hundreds, and each would reload the same latest block and
// redraw the pages. One reload serves every notice of that kind still queued,
// so an Apply clicked meanwhile is not held up behind them.
void DropQueuedNotices(HWND window, UINT message) {
    MSG queued;
    while (PeekMessageA(&queued, window, message, message, PM_REMOVE)) {
    }
}

constexpr const char* kSkinFile = "skin_config.ini";
constexpr skin::IdRange kClicks = skin::ClickIds(main_window::kControls);
// Posted by the first paint: the window's icon, given after it.
constexpr UINT kMsgShowIcon = WM_APP + 1;
// Posted when the last dialog or menu has closed: a change of scale that came
// while one was open is applied now.
constexpr UINT kMsgApplyWaitingDpi = WM_APP + 2;
// Posted when a page has written another language to config.ini.
constexpr UINT kMsgLanguageChosen = WM_APP + 3;
constexpr COLORREF kHintStripColor = 0x00956B06;
constexpr COLORREF kValuePlateColor = 0x00DEDAD6;
constexpr UINT kMonitorWatchMs = 500;
constexpr const char* kProfileFilter = "Gaming Mouse Profile(*.gmp)\0*.gmp\0\0";

constexpr FileChoice kProfileChoice{kProfileFilter, "gmp"};

// The main window's Tab walk, with kShownPage where the shown page's comes in.
const std::vector<int>& MainWalk() {
    static const std::vector<int> walk = skin::TabWalk(main_window::kControls);
    return walk;
}

}  // namespace

std::span<const win::MessageRow<COptionDlg>> COptionDlg::MessageMap() {
    static constexpr win::MessageRow<COptionDlg> own[] = {
        win::OnMessage<WM_INITDIALOG, &COptionDlg::OnInitDialog>(),
        win::OnMessage<WM_QUERYDRAGICON, &COptionDlg::OnQueryDragIcon>(),
        win::OnMessage<WM_LBUTTONDOWN, &COptionDlg::OnLButtonDown>(),
        win::OnMessage<WM_SETCURSOR, &COptionDlg::OnSetCursor>(),
        win::OnMessage<WM_CLOSE, &COptionDlg::OnClose>(),
        win::OnMessage<WM_TIMER, &COptionDlg::OnTimer>(),
        win::OnCommand<&COptionDlg::OnEnterKey>(IDOK),
        win::OnCommand<&COptionDlg::OnEscapeKey>(IDCANCEL),
        win::OnCommandRange<&COptionDlg::OnControlClick>(kClicks.first, kClicks.last),
        win::OnMessage<protocol::kMsgProfileChanged, &COptionDlg::OnProfileChanged>(),
        win::OnMessage<protocol::kMsgUploadDone, &COptionDlg::OnUploadDone>(),
        win::OnMessage<protocol::kMsgSettingChanged, &COptionDlg::OnSettingChanged>(),
        win::OnMessage<skin::kMsgHint, &COptionDlg::OnHint>(),
        win::OnMessage<WM_DPICHANGED, &COptionDlg::OnDpiChanged>(),
        win::OnMessage<kMsgShowIcon, &COptionDlg::OnShowIcon>(),
        win::OnMessage<kMsgApplyWaitingDpi, &COptionDlg::OnApplyWaitingDpi>(),
        win::OnMessage<kMsgLanguageChosen, &COptionDlg::OnLanguageChosen>(),
    };
    static constexpr auto rows =
        win::Checked(win::JoinRows(HostRows(), LifetimeRows(), PaintedRows(), std::to_array(own)));
    return rows;
}

COptionDlg::COptionDlg() : files_(win::ProgramFolder()) {
    session_ = std::make_unique<OptionSession>(files_.Files(), &registry_, link_, peers_, macros_);
}

COptionDlg::~COptionDlg() {
    DestroyWindowNow();
}

void COptionDlg::PrefetchFirstPaint() {
    // Two workers: the window's own pictures in the order the start takes
    // them (its picture and mask, then the Down picture that the selected
    // page's and profile's selectors show), and the first page's beside
    // them. At the larger scales the window waits for its picture, and the
    // second worker uses that wait for the page's.
    static constexpr const char* kWindow[] = {"Normal", "Mask", "Down"};
    std::vector<std::string> window;
    skin::AddSkinPictures(kSkinFile, kWindow, window);
    skin::PrefetchPictures(std::move(window));
    std::vector<std::string> page;
    CButtonPage::AddFirstPaintPictures(page);
    skin::PrefetchPictures(std::move(page));
}

INT_PTR COptionDlg::RunModal() {
    return RunModalDialog(*this, nullptr, IDD_OPTION_DIALOG);
}

LRESULT COptionDlg::OnCreate() {
    skin::MarkStartStage("WM_CREATE");
    if (CallDefault() == -1)
        return -1;
    HWND self = Hwnd();
    SetWindowLongPtrA(self, GWL_STYLE, GetWindowLongPtrA(self, GWL_STYLE) | WS_SYSMENU);
    Globals().programFolder = win::ProgramFolder();
    skin::SetSkinFolder(Globals().programFolder + "skins\\");
    Globals().language.Load(settings::ReadLanguage(files_));
    skin::MarkStartStage("lan.dll");
    BuildSkin();
    return 0;
}

void COptionDlg::BuildSkin() {
    surface_.InitSkinControls(
        Hwnd(), kSkinFile, main_window::kControls,
        [this](const skin::ControlRow& row, const skin::ButtonPos& pos,
               const skin::SkinSheets& sheets) { BuildControl(row, pos, sheets); });
    // Only the current page is needed for the first paint; the others are
    // made when they are first chosen, which keeps their skins off the start.
    skin::MarkStartStage("main window skin");
    EnsurePage(currentPage_);
    skin::MarkStartStage("first page");
    surface_.ApplyShape(Hwnd());
    skin::MarkStartStage("shape");
}

LRESULT COptionDlg::OnDpiChanged(UINT dpi, const RECT* suggested) {
    // A dialog or menu opened by a page (or by this window) runs its loop on
    // top of the handler that opened it, which uses its page again when the
    // loop returns: the pages are not rebuilt under it. The newest scale
    // waits until the last loop has ended.
    if (skin::InModalLoop()) {
        waitingDpi_ =
            WaitingDpi{dpi, suggested != nullptr, suggested != nullptr ? *suggested : RECT{}};
        skin::PostWhenModalLoopsEnd(Hwnd(), kMsgApplyWaitingDpi);
        win::DebugText("COptionDlg scale %u waits\n", dpi);
        return 0;
    }
    waitingDpi_.reset();
    ApplyDpi(dpi, suggested);
    return 0;
}

LRESULT COptionDlg::OnApplyWaitingDpi() {
    if (!waitingDpi_)
        return 0;
    if (skin::InModalLoop()) {
        skin::PostWhenModalLoopsEnd(Hwnd(), kMsgApplyWaitingDpi);
        return 0;
    }
    const WaitingDpi waiting = *waitingDpi_;
    waitingDpi_.reset();
    win::DebugText("COptionDlg scale %u applied\n", waiting.dpi);
    ApplyDpi(waiting.dpi, waiting.hasRect ? &waiting.suggested : nullptr);
    return 0;
}

void COptionDlg::ApplyDpi(UINT dpi, const RECT* suggested) {
    // Moved to a monitor of another scale, or the scale changed: every
    // control and page is built again from the set for the new DPI.
    skin::Reskin(Hwnd(), suggested, [this, dpi] {
        surface_.UseDpi(dpi);
        RemakeControls();
    });
}

void COptionDlg::LanguageChosen() {
    PostMessageA(Hwnd(), kMsgLanguageChosen, 0, 0);
}

LRESULT COptionDlg::OnLanguageChosen() {
    // As with a new scale, nothing is made again under a dialog or menu
    // whose opener still uses its page.
    if (skin::InModalLoop()) {
        skin::PostWhenModalLoopsEnd(Hwnd(), kMsgLanguageChosen);
        return 0;
    }
    Globals().language.Choose(settings::ReadLanguage(files_));
    // Words, hints and accessible names are all taken as the controls are
    // made; the menus take theirs each time they open.
    skin::Reskin(Hwnd(), nullptr, [this] { RemakeControls(); });
    win::DebugText(trace::kLanguageShown, 1);
    skin::ThemedMessageBox(Hwnd(), LanString(lan::kLanguageShownNow),
                           LanString(lan::kLanguageChoice).c_str(), MB_OK | MB_ICONINFORMATION);
    return 0;
}

void COptionDlg::RemakeControls() {
    for (auto& page : pages_) {
        if (page != nullptr && page->Window() != nullptr)
            DestroyWindow(page->Window());
        page.reset();
    }
    skin::DestroyChildren(Hwnd());
    BuildSkin();
    ShowPage(currentPage_);
    Refresh();
    SetPendingUi(session_->Pending());
}

OptionPage& COptionDlg::EnsurePage(int index) {
    auto& page = pages_[static_cast<std::size_t>(index)];
    if (page == nullptr) {
        page = MakePage(index, *this);
        if (page->Create(Hwnd(), pageArea_))
            SetWindowLongPtrA(page->Window(), GWLP_ID, PageId(index));
        // A page made after the start shows the settings as they are now.
        if (started_)
            page->Refresh();
    }
    return *page;
}

void COptionDlg::BuildControl(const skin::ControlRow& row, const skin::ButtonPos& pos,
                              const skin::SkinSheets& sheets) {
    const int key = row.key;
    const RECT r = skin::ToRect(pos.rect);
    HWND self = Hwnd();
    const UINT id = static_cast<UINT>(row.id);
    switch (row.kind) {
        case skin::ControlKind::Button:
        case skin::ControlKind::PageTab: {
            skin::CSkinButton& button = buttons_.ByKey(key);
            button.CreateFromRow(self, row, pos, sheets);
            if (row.kind == skin::ControlKind::PageTab) {
                button.SetAccessibleRole(ROLE_SYSTEM_PAGETAB);
                button.SetLatched(key == kKeyPage1);
            }
            break;
        }
        case skin::ControlKind::ShapedSelector: {
            skin::CRgnButton& selector = selectors_[static_cast<std::size_t>(key - kKeyProfile1)];
            selector.SetMaskFile(skin::SkinFolder() +
                                 (key == kKeyProfile1 ? "profile1_mask.bmp" : "profile2_mask.bmp"));
            selector.CreateButton(pos.name, r, self, id);
            selector.SetBitmaps(r, sheets);
            selector.SetTag(key);
            selector.SetAccessibleName(pos.caption);
            break;
        }
        case skin::ControlKind::Hint: {
            skin::CSkinLabel& hint = hints_[static_cast<std::size_t>(key - kKeyHint1)];
            hint.Create(r, self, id);
            hint.SetBackColor(kHintStripColor);
            hint.SetHint(pos.caption);
            break;
        }
        case skin::ControlKind::Label:
            profileName_.Create(r, self, id);
            profileName_.SetBackColor(kValuePlateColor);
            profileName_.SetBold(true);
            profileName_.SetHint(pos.caption);
            break;
        case skin::ControlKind::Area:
            pageArea_ = r;
            break;
        default:
            break;
    }
}

LRESULT COptionDlg::OnInitDialog() {
    const LRESULT result = CallDefault();
    HWND self = Hwnd();
    SetWindowLongPtrA(self, GWL_STYLE, GetWindowLongPtrA(self, GWL_STYLE) | WS_SYSMENU);
    // The icon goes to the window once it has painted (OnPaint): under Wine
    // each icon is converted for the window manager, which the first paint
    // need not wait for.
    icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_OPTION_ICON));
    SetWindowTextA(self, protocol::kOptionTitle);
    skin::SetHintWindow(self);
    skin::RegisterKeyboardHost(self, *this);

    skin::MarkStartStage("WM_INITDIALOG");
    link_.Open();
    UpdateFirmwareText();
    session_->Start();
    skin::MarkStartStage("settings");
    started_ = true;
    ShowPage(0);
    Refresh();
    skin::MarkStartStage("pages refreshed");

    // The skin recipe puts the window at (0, 0); a top-level window belongs
    // in the middle of the work area.
    CentreWindow(self, nullptr);
    // The dialog manager would choose the first tab stop it meets; the
    // first profile selector is where the keyboard can act.
    const bool focused = skin::FocusFirst(*this);
    // Shown here rather than by the dialog manager, and without the redraw
    // that showing brings: that would mark every control for erasing and
    // painting, one by one, while the first paint draws them all in one
    // piece (OnPaint); only the window itself is marked for it.
    SetWindowPos(self, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOREDRAW);
    InvalidateRect(self, nullptr, FALSE);
    if (focused)
        return FALSE;
    return result;
}

LRESULT COptionDlg::OnDestroy() {
    skin::UnregisterKeyboardHost(Hwnd());
    const LRESULT result = CallDefault();
    KillTimer(Hwnd(), IDT_MONITOR_WATCH);
    link_.Close();
    macros_.Clear();
    for (auto& page : pages_) {
        if (page != nullptr && page->Window() != nullptr)
            DestroyWindow(page->Window());
    }
    Globals().language.Unload();
    return result;
}

void COptionDlg::UpdateFirmwareText() {
    Globals().firmwareVersion = FirmwareVersionText(session_->FirmwareVersion());
}

LRESULT COptionDlg::OnPaint() {
    HWND self = Hwnd();
    if (IsIconic(self)) {
        const win::ScopedPaint paint(self);
        const HDC dc = paint.Get();
        RECT client{};
        GetClientRect(self, &client);
        const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc, x, y, icon_);
        return 0;
    }
    if (painted_) {
        surface_.Paint(self);
        return 0;
    }
    painted_ = true;
    skin::MarkStartStage("first paint begins");
    // The first paint draws the controls too, in one piece; a control that
    // cannot paints now rather than one message each through the dialog's
    // loop.
    skin::PaintWithControls(self, [this, self](HDC dc) {
        RECT client{};
        GetClientRect(self, &client);
        surface_.PaintInto(dc, client);
    });
    skin::MarkStartStage("first paint done");
    RedrawWindow(self, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    skin::MarkStartStage("controls painted");
    PostMessageA(self, kMsgShowIcon, 0, 0);
    // The menu frame hook goes in now: until a menu can be opened it would
    // only add its trips to the window server to every message the start
    // sends.
    skin::CCoolMenu::Install();
    return 0;
}

LRESULT COptionDlg::OnShowIcon() {
    SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    return 0;
}

LRESULT COptionDlg::OnQueryDragIcon() {
    return reinterpret_cast<LRESULT>(icon_);
}

LRESULT COptionDlg::OnLButtonDown(UINT, POINT p) {
    if (session_->Pending()) {
        // The window holds the capture while Monitor uploads, so clicks on
        // the close buttons arrive here; they still close the window.
        for (int key : {kKeyClose, kKeyCancel}) {
            RECT r{};
            HWND button = buttons_.ByKey(key).Hwnd();
            if (button != nullptr && GetWindowRect(button, &r)) {
                MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&r), 2);
                if (PtInRect(&r, p))
                    CloseWithoutApplying();
            }
        }
        return 0;
    }
    skin::DragByBody(Hwnd(), p, false);
    return CallDefault();
}

LRESULT COptionDlg::OnSetCursor() {
    if (session_->Pending()) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
        return TRUE;
    }
    return CallDefault();
}

LRESULT COptionDlg::OnClose() {
    // Monitor closes Option even while a dialog is open over it (the mouse was
    // unplugged, Monitor ends): the dialogs are cancelled so that Option ends
    // and no key capture outlives it.
    CloseOwnedDialogs(Hwnd());
    EndDialog(Hwnd(), IDCANCEL);
    return 0;
}

LRESULT COptionDlg::OnTimer(UINT_PTR id) {
    if (id != IDT_MONITOR_WATCH)
        return CallDefault();
    if (!session_->Pending() || session_->EndPendingIfMonitorGone())
        SetPendingUi(false);
    return 0;
}

LRESULT COptionDlg::OnEscapeKey() {
    CloseWithoutApplying();
    return 0;
}

LRESULT COptionDlg::OnControlClick(UINT id, UINT code) {
    if (code != BN_CLICKED)
        return 0;
    const skin::ControlRow* row = skin::RowOfId(main_window::kControls, static_cast<int>(id));
    const int key = row != nullptr ? row->key : skin::kNoSkinKey;
    if (key >= kKeyProfile1 && key < kKeyProfile1 + settings::kProfileCount) {
        SelectProfile(key - kKeyProfile1);
        return 0;
    }
    if (key >= kKeyPage1 && key < kKeyPage1 + kPageCount) {
        ShowPage(key - kKeyPage1);
        return 0;
    }
    switch (key) {
        case kKeyImport:
            ImportProfile();
            break;
        case kKeyExport:
            ExportProfile();
            break;
        case kKeyMinimize:
            ShowWindow(Hwnd(), SW_MINIMIZE);
            break;
        case kKeyClose:
        case kKeyCancel:
            CloseWithoutApplying();
            break;
        case kKeyOk:
            Apply(ApplyKind::Edits);
            PostMessageA(Hwnd(), WM_CLOSE, 0, 0);
            break;
        case kKeyApply:
            Apply(ApplyKind::Edits);
            break;
        case kKeyWeb:
            late::ShellExecuteW(Hwnd(), L"open", win::Wide(kWebAddress).c_str(), nullptr, nullptr,
                                SW_SHOWNORMAL);
            break;
        case kKeyReset:
            ResetToDefaults();
            break;
        case kKeyEditProfile:
        case kKeyNewProfile:
            EditProfile(key == kKeyNewProfile);
            break;
        case kKeyExportAll:
            ExportAllSettings(Hwnd(), *session_);
            break;
        case kKeyImportAll:
            // Everything replaced at once reaches the mouse as a reset does.
            if (ImportAllSettings(Hwnd(), *session_)) {
                Refresh();
                Apply(ApplyKind::Reset);
            }
            break;
        default:
            // "29" is the emblem and does nothing.
            break;
    }
    return 0;
}

void COptionDlg::SelectProfile(int index) {
    if (session_->SelectProfile(index))
        Refresh();
}

void COptionDlg::Refresh() {
    const int current = session_->Edit().currentProfile;
    for (int i = 0; i < settings::kProfileCount; ++i) {
        skin::CRgnButton& selector = selectors_[static_cast<std::size_t>(i)];
        if (selector.Hwnd() == nullptr)
            continue;
        selector.SetLatched(i == current);
        InvalidateRect(selector.Hwnd(), nullptr, FALSE);
    }
    const settings::ProfileRecord* profile = session_->CurrentProfile();
    if (profileName_.Hwnd() != nullptr) {
        profileName_.SetText(
            profile != nullptr
                ? std::string(profile->ProFileName, settings::FieldLength(profile->ProFileName))
                : std::string());
    }
    RefreshPages();
}

void COptionDlg::RefreshPages() {
    for (auto& page : pages_) {
        if (page != nullptr)
            page->Refresh();
    }
}

void COptionDlg::ShowPage(int page) {
    if (page < 0 || page >= kPageCount)
        return;
    if (page != currentPage_) {
        EnsurePage(currentPage_).Show(false);
        currentPage_ = page;
    }
    EnsurePage(page).Show(true);
    // A latching button flips itself on every click: put all four right.
    for (int i = 0; i < kPageCount; ++i) {
        skin::CSkinButton& selector = buttons_.ByKey(kKeyPage1 + i);
        if (selector.Hwnd() == nullptr)
            continue;
        selector.SetLatched(i == page);
        InvalidateRect(selector.Hwnd(), nullptr, FALSE);
    }
}

void COptionDlg::AppendTabOrder(std::vector<HWND>& order) const {
    for (int id : MainWalk()) {
        if (id != kShownPage) {
            skin::AppendControls(Hwnd(), std::span(&id, 1), order);
            continue;
        }
        const auto shown = static_cast<std::size_t>(currentPage_);
        if (const OptionPage* page = pages_[shown].get(); page != nullptr)
            skin::AppendControls(page->Window(), skin::TabWalk(page->Controls()), order);
    }
}

skin::ArrowGroup COptionDlg::GroupOf(HWND focus) const {
    if (GetParent(focus) == Hwnd())
        return skin::GroupIn(Hwnd(), MainWalk(), focus);
    const auto shown = static_cast<std::size_t>(currentPage_);
    const OptionPage* page = pages_[shown].get();
    return page != nullptr ? skin::GroupIn(page->Window(), skin::TabWalk(page->Controls()), focus)
                           : skin::ArrowGroup{};
}

bool COptionDlg::TakeControlKey(UINT key, skin::KeyModifiers mods) {
    if (key == VK_TAB) {
        const int page = (currentPage_ + (mods.shift ? kPageCount - 1 : 1)) % kPageCount;
        ShowPage(page);
        skin::FocusByKeyboard(buttons_.ByKey(kKeyPage1 + page).Hwnd());
        return true;
    }
    if (key >= '1' && key < '1' + settings::kProfileCount && !mods.shift) {
        SelectProfile(static_cast<int>(key - '1'));
        return true;
    }
    return false;
}

void COptionDlg::SetPendingUi(bool pending) {
    HWND self = Hwnd();
    // Disabling OK or Apply takes the focus away from it; a keyboard user
    // finds it back there when they are enabled again.
    HWND focus = GetFocus();
    if (pending && focus != nullptr && GetParent(focus) == self)
        focusBeforeApply_ = focus;
    for (int key : {kKeyOk, kKeyApply}) {
        HWND button = buttons_.ByKey(key).Hwnd();
        if (button == nullptr)
            continue;
        EnableWindow(button, pending ? FALSE : TRUE);
        InvalidateRect(button, nullptr, FALSE);
        UpdateWindow(button);
    }
    if (pending) {
        SetCapture(self);
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
        SetTimer(self, IDT_MONITOR_WATCH, kMonitorWatchMs, nullptr);
    } else {
        KillTimer(self, IDT_MONITOR_WATCH);
        if (GetFocus() == nullptr && IsWindow(focusBeforeApply_) && GetActiveWindow() == self)
            SetFocus(focusBeforeApply_);
        focusBeforeApply_ = nullptr;
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        if (GetCapture() == self)
            ReleaseCapture();
    }
}

void COptionDlg::Apply(ApplyKind kind) {
    SetPendingUi(true);
    const ApplyResult result = session_->Apply(kind);
    win::DebugText(trace::kOptionApply, kind == ApplyKind::Reset ? 1 : 0, result.published ? 1 : 0,
                   result.pending ? 1 : 0);
    if (!result.pending)
        SetPendingUi(false);
}

void COptionDlg::CloseWithoutApplying() {
    if (GetCapture() == Hwnd()) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        ReleaseCapture();
    }
    PostMessageA(Hwnd(), WM_CLOSE, 0, 0);
}

void COptionDlg::EditProfile(bool startEmpty) {
    settings::ProfileRecord* profile = session_->CurrentProfile();
    if (profile == nullptr)
        return;
    ProfileFields fields = ProfileFieldsOf(*profile, startEmpty);
    bool& returnAfterGame =
        session_->ReturnChoices()[static_cast<std::size_t>(session_->Edit().currentProfile)];
    fields.returnAfterGame = !startEmpty && returnAfterGame;
    if (!RunProfileDialog(Hwnd(), fields))
        return;
    returnAfterGame = fields.returnAfterGame;
    // The dialog refuses a game program too long for the record, so this
    // store takes both fields whole.
    const bool stored = StoreProfileFields(*profile, fields);
    win::DebugText(trace::kOptionEditProfile, startEmpty ? 1 : 0, stored ? 1 : 0);
    Refresh();
}

void COptionDlg::ImportProfile() {
    // The profile shown now is the one imported into, even if the mouse
    // switches profile while the file dialog is open.
    const int index = session_->Edit().currentProfile;
    std::string path;
    if (!AskFilePath(Hwnd(), FileDialog::Open, kProfileChoice, path))
        return;
    const ImportResult result = session_->Import(path, index);
    win::DebugText(trace::kOptionImport, static_cast<int>(result));
    if (result == ImportResult::Copied) {
        SetFileAttributesA(files_.Files().ProfilePath(index).c_str(),
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    }
    if (result != ImportResult::NoProfile && result != ImportResult::Unreadable)
        Refresh();
}

void COptionDlg::ExportProfile() {
    const int index = session_->Edit().currentProfile;
    std::string path;
    if (!AskFilePath(Hwnd(), FileDialog::Save, kProfileChoice, path))
        return;
    const bool ok = session_->Export(path, index);
    win::DebugText(trace::kOptionExport, ok ? 1 : 0);
}

void COptionDlg::ResetToDefaults() {
    if (!AskResetDefaults(Hwnd()))
        return;
    RestoreDefaults();
}

void COptionDlg::RestoreDefaults() {
    session_->ResetToDefaults();
    Refresh();
    Apply(ApplyKind::Reset);
}

LRESULT COptionDlg::OnProfileChanged() {
    DropQueuedNotices(Hwnd(), protocol::kMsgProfileChanged);
    if (session_->ProfileChanged())
        Refresh();
    return 0;
}

LRESULT COptionDlg::OnUploadDone() {
    session_->UploadDone();
    SetPendingUi(false);
    return 0;
}

LRESULT COptionDlg::OnSettingChanged() {
    DropQueuedNotices(Hwnd(), protocol::kMsgSettingChanged);
    if (session_->SettingChanged()) {
        RefreshPages();
    }
    return 0;
}

}  // namespace option
