#include "option/dialogs/macro_manager_dlg_win.h"

#include <memory>
#include <vector>

#include "common/settings/key_codes_win.h"
#include "common/win/program_folder_win.h"
#include "lan/string_ids.h"
#include "option/dialogs/macro_resource_ids.h"
#include "option/dialogs/modal_dialog_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/dialogs/warning_dlg_win.h"
#include "option/option_globals_win.h"
#include "option/skin/skin_menu_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_macro_manager.ini";
using namespace macro_manager;

static_assert(IDB_EVENT_DELAY == static_cast<int>(EventItemKind::Delay));
static_assert(IDB_EVENT_KEY_RELEASE == static_cast<int>(EventItemKind::KeyRelease));
static_assert(IDB_EVENT_KEY_PRESS == static_cast<int>(EventItemKind::KeyPress));
static_assert(IDB_EVENT_MOUSE == static_cast<int>(EventItemKind::MouseButton));

constexpr int kRepeatDigits = 5;
constexpr int kDelayDigits = 20;
constexpr COLORREF kMenuBack = 0x00090909;
constexpr COLORREF kMenuAccent = 0x00956B06;

// The record button's pictures, idle and recording: normal, over, down (the
// normal one is also shown disabled).
constexpr const char* kStartImages[] = {"start_record_normal.jpg", "start_record_over.jpg",
                                        "start_record_down.jpg"};
constexpr const char* kStopImages[] = {"stop_record_normal.jpg", "stop_record_over.jpg",
                                       "stop_record_down.jpg"};

void LoadImages(const char* const (&names)[3], std::array<skin::SkinBitmap, 3>& images) {
    for (std::size_t i = 0; i < images.size(); ++i) {
        SIZE ignored{};
        skin::LoadSkinPicture(skin::SkinFolder() + names[i], images[i], ignored);
    }
}

}  // namespace

CMacroManagerDlg::CMacroManagerDlg(MacroFileStore& store, std::string selectName)
    : editor_(store), selectName_(std::move(selectName)) {}

std::span<const CMacroManagerDlg::Row> CMacroManagerDlg::MessageMap() {
    static constexpr win::RegisteredMessage editLeft(skin::kEditKillFocusName);
    // Enter and Escape, swallowed by the shared rows, arrive as IDOK and
    // IDCANCEL: the in-place edits take them on key release.
    static constexpr Row own[] = {
        win::OnMessage<WM_INITDIALOG, &CMacroManagerDlg::OnInitDialog>(),
        win::OnMessage<WM_DESTROY, &CMacroManagerDlg::OnDestroy>(),
        win::OnCommandRange<&CMacroManagerDlg::OnButton>(ControlIdOf(kManagerOk),
                                                         ControlIdOf(kManagerRepeat)),
        win::OnCommand<&CMacroManagerDlg::OnMacroList>(kMacroListId),
        win::OnCommandRange<&CMacroManagerDlg::OnMenuCommand>(macro_command::kRecordBefore,
                                                              macro_command::kLastMouseInsert),
        win::OnMessage<kMsgListEditCommitted, &CMacroManagerDlg::OnEditCommitted>(),
        win::OnMessage<kMsgListRightClick, &CMacroManagerDlg::OnListRightClick>(),
        win::OnMessage<kMsgListDeleteKey, &CMacroManagerDlg::OnListDeleteKey>(),
        win::OnMessage<kMsgCapturedKey, &CMacroManagerDlg::OnCapturedKey>(),
        win::OnMessage<skin::kMsgEditEnter, &CMacroManagerDlg::CommitRepeatCount>(),
        win::OnRegistered<&CMacroManagerDlg::OnRepeatEditNotice>(editLeft),
        win::OnMessage<WM_CTLCOLORLISTBOX, &CMacroManagerDlg::OnCtlColorList>(),
    };
    static constexpr auto rows = Table(own);
    return rows;
}

bool CMacroManagerDlg::Run(HWND owner) {
    owner_ = owner;
    const bool ok = SkinDialog::Run(owner);
    capture_.Stop();
    return ok;
}

LRESULT CMacroManagerDlg::OnInitDialog() {
    const LRESULT result = CallDefault();
    // The title comes last: whoever finds the dialog by it finds it complete.
    PutOnSkin(nullptr, kSkinFile, kControls);
    CentreWindow(Hwnd(), owner_);
    editor_.Open(selectName_);
    ShowMacros();
    ShowSelectedMacro();
    SetWindowTextA(Hwnd(), kMacroManagerTitle);
    // The dialog manager would choose the first button it meets; the
    // keyboard starts on the first control of the order.
    if (skin::FocusFirst(keyboard_))
        return FALSE;
    return result;
}

void CMacroManagerDlg::Build(const skin::ControlRow& row, const skin::ButtonPos& pos,
                             const skin::SkinSheets& sheets) {
    HWND self = Hwnd();
    const RECT r = skin::ToRect(pos.rect);
    const int key = row.key;
    switch (key) {
        case kManagerMacroList:
            macroList_.Create(self, r, kMacroListId);
            macroList_.SetAccessibleName(pos.caption);
            break;
        case kManagerEventList:
            eventList_.Create(self, r, kEventListId);
            eventList_.SetAccessibleName(pos.caption);
            eventList_.SetSpokenItem(
                [this, words = SpokenEventWords{LanString(lan::kPress), LanString(lan::kRelease),
                                                LanString(lan::kDelayEvent)}](int item) {
                    return SpokenEventItem(eventList_.Data(item), eventList_.Text(item), words);
                });
            break;
        case kManagerRepeatCount:
            repeatEdit_.Create(WS_VISIBLE | ES_AUTOHSCROLL, r, self, kRepeatEditId);
            repeatEdit_.SetNumeric(true);
            repeatEdit_.SetColors(0x00000000, 0x00FFFFFF);
            repeatEdit_.ApplyFont();
            repeatEdit_.SetHint(pos.caption);
            SendMessageA(repeatEdit_.Hwnd(), EM_LIMITTEXT, kRepeatDigits, 0);
            break;
        default: {
            skin::CSkinButton& button = buttons_[static_cast<std::size_t>(key)];
            button.CreateFromPos(self, pos, static_cast<UINT>(row.id), sheets);
            if (row.kind == skin::ControlKind::LatchingButton) {
                button.SetLatchingMode(true);
                button.SetLatched(false);
            } else if (key == kManagerRecord) {
                // From the set this dialog chose, again whenever it changes
                // scale: the pictures have the size of the button.
                LoadImages(kStartImages, startImages_);
                LoadImages(kStopImages, stopImages_);
                recordRect_ = r;
                SetRecordImages(false);
            }
            break;
        }
    }
}

void CMacroManagerDlg::SetRecordImages(bool recording) {
    const auto& images = recording ? stopImages_ : startImages_;
    skin::CSkinButton& button = buttons_[kManagerRecord];
    if (!images[0])
        return;  // keep the skin's own face when the pictures are missing
    const RECT whole{0, 0, recordRect_.right - recordRect_.left,
                     recordRect_.bottom - recordRect_.top};
    button.SetBitmaps(whole, images[0].Get(), images[1].Get(), images[2].Get(), images[0].Get());
    RedrawWindow(button.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CMacroManagerDlg::ShowMacros() {
    macroList_.Clear();
    for (const std::string& name : editor_.MacroNames()) macroList_.Add(name);
    macroList_.Select(editor_.SelectedMacro());
}

void CMacroManagerDlg::ShowSelectedMacro() {
    ShowRepeat();
    ShowEvents();
}

void CMacroManagerDlg::ShowRepeat() {
    buttons_[kManagerRepeat].SetLatched(editor_.RepeatChecked());
    InvalidateRect(buttons_[kManagerRepeat].Hwnd(), nullptr, FALSE);
    repeatEdit_.SetText(std::to_string(editor_.RepeatCount()));
}

void CMacroManagerDlg::ShowEvents() {
    const settings::KeyboardLayout& layout = settings::CurrentKeyboardLayout();
    // The list's drawing is held while it refills; not while the whole dialog
    // is held (a change of scale builds it again): a list told to draw again
    // inside a hidden dialog stays blank.
    const bool hold = IsWindowVisible(eventList_.Hwnd()) != FALSE;
    if (hold)
        SendMessageA(eventList_.Hwnd(), WM_SETREDRAW, FALSE, 0);
    eventList_.Clear();
    const auto& items = editor_.Items();
    for (std::size_t i = 0; i < items.size(); ++i)
        eventList_.Add(editor_.ItemText(static_cast<int>(i), layout), items[i].Data());
    // Selecting the item to keep visible first scrolls it into view; the
    // caret item then becomes the selection.
    eventList_.Select(editor_.VisibleItem());
    eventList_.Select(editor_.CaretItem());
    if (hold)
        SendMessageA(eventList_.Hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(eventList_.Hwnd(), nullptr, TRUE);
}

int CMacroManagerDlg::SelectedEventItem() const {
    const int selected = eventList_.Selection();
    if (selected < 0)
        return -1;
    return editor_.ItemOfData(eventList_.Data(selected));
}

void CMacroManagerDlg::Apply(EditorOutcome outcome) {
    switch (outcome) {
        case EditorOutcome::NeedsMacro:
            ShowMacroSetWarning(Hwnd());
            break;
        case EditorOutcome::Started:
            StartRecordingUi();
            break;
        case EditorOutcome::Stopped:
            StopRecordingUi();
            break;
        default:
            break;
    }
}

void CMacroManagerDlg::StartRecordingUi() {
    SetRecordImages(true);
    if (!capture_.Start(Hwnd()))
        win::DebugText("CMacroManagerDlg no key hook\n");
    for (int key = kManagerOk; key <= kManagerDelete; ++key)
        EnableWindow(buttons_[static_cast<std::size_t>(key)].Hwnd(), FALSE);
    EnableWindow(macroList_.Hwnd(), FALSE);
    SetFocus(Hwnd());
}

void CMacroManagerDlg::StopRecordingUi() {
    SetRecordImages(false);
    capture_.Stop();
    for (int key = kManagerOk; key <= kManagerDelete; ++key)
        EnableWindow(buttons_[static_cast<std::size_t>(key)].Hwnd(), TRUE);
    EnableWindow(macroList_.Hwnd(), TRUE);
    EnableWindow(eventList_.Hwnd(), TRUE);
}

LRESULT CMacroManagerDlg::OnDestroy() {
    capture_.Stop();
    return CallDefault();
}

LRESULT CMacroManagerDlg::OnButton(UINT id, UINT code) {
    if (code != BN_CLICKED)
        return 0;
    const skin::ControlRow* row = skin::RowOfId(kControls, static_cast<int>(id));
    switch (row != nullptr ? row->key : skin::kNoSkinKey) {
        case kManagerOk:
            // The button does not take the focus: a count still being typed
            // is taken here.
            CommitRepeatCount();
            if (editor_.Recording())
                Apply(editor_.RecordButton());  // keeps what was recorded
            EndDialog(Hwnd(), IDOK);
            break;
        case kManagerCancel:
        case kManagerClose:
            EndDialog(Hwnd(), IDCANCEL);
            break;
        case kManagerNew:
            if (!editor_.Recording())
                macroList_.EditNewItem(static_cast<int>(kMaxTypedMacroName));
            break;
        case kManagerDelete:
            if (!editor_.Recording() && editor_.SelectedMacro() >= 0 && AskDeleteMacro(Hwnd()) &&
                editor_.DeleteMacro() == EditorOutcome::Done) {
                ShowMacros();
                ShowSelectedMacro();
            }
            break;
        case kManagerRecord:
            Apply(editor_.RecordButton());
            ShowEvents();
            break;
        case kManagerDelays:
            editor_.SetRecordDelays(buttons_[kManagerDelays].Latched());
            break;
        case kManagerRepeat:
            // A count typed but not yet taken (the check does not take the
            // focus from the edit) is the count the check turns on.
            CommitRepeatCount();
            Apply(editor_.SetRepeatCheck(buttons_[kManagerRepeat].Latched()));
            ShowRepeat();
            break;
        default:
            break;
    }
    return 0;
}

LRESULT CMacroManagerDlg::OnMacroList(UINT, UINT code) {
    if (code == LBN_SELCHANGE && !editor_.Recording()) {
        // A click on the list reports the new selection before the repeat
        // field's posted notice that it lost the focus: a count still typed
        // there belongs to the macro being left.
        CommitRepeatCount();
        editor_.SelectMacro(macroList_.Selection());
        ShowSelectedMacro();
    }
    return 0;
}

LRESULT CMacroManagerDlg::OnEditCommitted(win::WParam<int> item, win::LParam<UINT> list) {
    if (list.value == kMacroListId) {
        // Made or refused, the list shows the store again: a refused name's
        // item goes, and the selection is what the editor kept.
        editor_.NewMacro(macroList_.CommittedText());
        ShowMacros();
        ShowSelectedMacro();
    } else if (list.value == kEventListId) {
        const int modelItem = editor_.ItemOfData(eventList_.Data(item.value));
        editor_.CommitDelayEdit(modelItem, eventList_.CommittedText());
        ShowEvents();
    }
    return 0;
}

// A menu the keys open goes to the selected event, one the mouse opens to
// the pointer.
LRESULT CMacroManagerDlg::OnListRightClick(win::WParam<bool> byKeys, win::LParam<UINT> list) {
    if (list.value != kEventListId || editor_.Recording())
        return 0;
    POINT at{};
    if (byKeys.value)
        at = eventList_.KeyboardMenuPoint();
    else
        GetCursorPos(&at);
    OpenContextMenu(at);
    return 0;
}

// Delete in the macro list deletes the macro as its button does (after the
// warning); in the event list the selected event, as the menu's Delete does.
LRESULT CMacroManagerDlg::OnListDeleteKey(win::LParam<UINT> list) {
    if (list.value == kMacroListId) {
        OnButton(ControlIdOf(kManagerDelete), BN_CLICKED);
    } else if (list.value == kEventListId && !editor_.Recording()) {
        OnMenuCommand(macro_command::kDelete);
    }
    return 0;
}

void CMacroManagerDlg::OpenContextMenu(POINT at) {
    win::ScopedGdi<HFONT> font(CreateFontA(skin::SkinPixels(-14), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                           FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                           DEFAULT_PITCH | FF_SWISS, "Arial"));
    skin::CCoolMenu::SetColors(kMenuAccent, kMenuAccent, kMenuBack, kMenuBack);
    std::vector<std::unique_ptr<skin::CSkinMenu>> menus;
    auto make = [&](int width) -> skin::CSkinMenu& {
        menus.push_back(std::make_unique<skin::CSkinMenu>(font.Get()));
        skin::CSkinMenu& menu = *menus.back();
        menu.Attach();
        menu.SetColors(kMenuBack, kMenuAccent);
        menu.SetSeparatorColors(kMenuAccent, kMenuAccent);
        menu.SetWidth(width);
        return menu;
    };
    skin::CSkinMenu& top = make(120);
    skin::CSkinMenu& mouse = make(100);
    constexpr unsigned kButtonNames[] = {lan::kLeftButton, lan::kRightButton, lan::kWheelButton,
                                         lan::kForwardButton};
    constexpr unsigned kKindNames[] = {lan::kPress, lan::kRelease, lan::kClick};
    for (std::size_t b = 0; b < std::size(kButtonNames); ++b) {
        skin::CSkinMenu& sub = make(40);
        for (std::size_t n = 0; n < std::size(kKindNames); ++n) {
            sub.AppendItem(MF_STRING, LanString(kKindNames[n]),
                           macro_command::kFirstMouseInsert + 3 * b + n);
        }
        mouse.AppendItem(MF_POPUP, LanString(kButtonNames[b]), 0, sub.Handle());
    }
    top.AppendItem(MF_STRING, LanString(lan::kRecordBefore), macro_command::kRecordBefore);
    top.AppendItem(MF_STRING, LanString(lan::kRecordAfter), macro_command::kRecordAfter);
    top.AppendItem(MF_POPUP, LanString(lan::kMouseButtonMenu), 0, mouse.Handle());
    top.AppendItem(MF_STRING, LanString(lan::kInsertDelay), macro_command::kInsertDelay);
    top.AppendItem(MF_STRING, LanString(lan::kEdit), macro_command::kEditDelay);
    top.AppendItem(MF_STRING, LanString(lan::kDelete), macro_command::kDelete);
    top.Track(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, Hwnd());
}

LRESULT CMacroManagerDlg::OnMenuCommand(UINT id) {
    const int command = static_cast<int>(id);
    const int item = SelectedEventItem();
    const EditorOutcome outcome = editor_.Command(command, item);
    Apply(outcome);
    if (command == macro_command::kEditDelay && outcome == EditorOutcome::Done) {
        eventList_.EditSelected(kDelayDigits);
        return 0;
    }
    if (outcome != EditorOutcome::Ignored)
        ShowEvents();
    return 0;
}

LRESULT CMacroManagerDlg::OnCapturedKey(win::WParam<UINT> virtualKey, win::LParam<UINT> flags) {
    const settings::KeyLookup code = settings::KeyCodeFromVirtualKey(virtualKey.value);
    const EditorOutcome outcome =
        editor_.OnKey(static_cast<int>(virtualKey.value), (flags.value & LLKHF_UP) != 0,
                      static_cast<std::uint8_t>(code.found ? code.value : 0), GetTickCount());
    if (outcome == EditorOutcome::Ignored)
        return 0;
    Apply(outcome);
    ShowEvents();
    return 0;
}

LRESULT CMacroManagerDlg::OnRepeatEditNotice() {
    // The field sends the same notice after every keystroke as when it loses
    // the focus. Correcting while it still has the focus would rewrite the
    // text under the caret: an emptied field would get its 1 back before the
    // next digit.
    if (GetFocus() == repeatEdit_.Hwnd())
        return 0;
    return CommitRepeatCount();
}

LRESULT CMacroManagerDlg::CommitRepeatCount() {
    const int shown = editor_.CommitRepeatText(repeatEdit_.Text());
    if (repeatEdit_.Text() != std::to_string(shown))
        repeatEdit_.SetText(std::to_string(shown));
    return 0;
}

LRESULT CMacroManagerDlg::OnCtlColorList(HDC dc, HWND control) {
    if (control == macroList_.Hwnd() || control == eventList_.Hwnd()) {
        SetBkColor(dc, CMacroListBox::kBackColor);
        SetTextColor(dc, CMacroListBox::kTextColor);
        return reinterpret_cast<LRESULT>(macroList_.Background());
    }
    return CallDefault();
}

bool CMacroManagerDlg::MeasureOwnItem(UINT id, MEASUREITEMSTRUCT& item) {
    if (id != kMacroListId && id != kEventListId)
        return false;
    CMacroListBox::Measure(item);
    return true;
}

bool CMacroManagerDlg::DrawOwnItem(UINT id, const DRAWITEMSTRUCT& item) {
    if (id == kMacroListId) {
        macroList_.Draw(item);
        return true;
    }
    if (id == kEventListId) {
        eventList_.Draw(item);
        return true;
    }
    return false;
}

bool RunMacroManager(HWND owner, MacroFileStore& store, std::string_view selectName) {
    CMacroManagerDlg dialog(store, std::string(selectName));
    return dialog.Run(owner);
}

}  // namespace option
