// Option worked from the keyboard alone, with the real Monitor and the
// virtual mouse: Tab walks every window (each page, each dialog) in the order
// of its table and Esc cancels each dialog; a slider moved by keys, a custom
// colour picked from the spectrum by keys and an
// assignment chosen from a button's menu by keys reach the mouse after an
// Apply pressed with Space.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings/settings_block.h"
#include "common/text_format.h"
#include "common/trace_points.h"
#include "monitor/device/device_blocks.h"
#include "option/model/pages/assignment_command.h"
#include "option/model/pages/assignment_menu.h"
#include "option/skin/accessible_text.h"
#include "option/skin/control_math.h"
#include "option/skin/keyboard_nav_win.h"
#include "option/dialogs/dpi_color_dlg_controls.h"
#include "option/dialogs/fire_dlg_controls.h"
#include "option/dialogs/launch_program_dlg_controls.h"
#include "option/dialogs/macro_manager_controls.h"
#include "option/dialogs/player_dlg_controls.h"
#include "option/dialogs/profile_dlg_controls.h"
#include "option/dialogs/shortcut_dlg_controls.h"
#include "option/dialogs/warning_dlg_controls.h"
#include "option/main_window_controls.h"
#include "option/pages/advanced_page_controls.h"
#include "option/pages/button_page_controls.h"
#include "option/pages/lighting_page_controls.h"
#include "option/pages/support_page_controls.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/option/option_driver_win.h"

namespace {

using namespace std::chrono_literals;
using e2e::OptionDriver;
using e2e::VirtualMouseSession;
using Controls = std::span<const skin::ControlRow>;

constexpr int kPageCount = 4, kAdvancedPage = 2;
constexpr int kCpiXSlider = 207, kCpiMaximum = 160;
constexpr int kApply = option::ControlId(13), kFirstProfile = option::ControlId(5);
// The report rates of the advanced page, a group of four.
constexpr int kRate125 = option::ControlId(1), kRate250 = option::ControlId(2),
              kRate1000 = option::ControlId(4);
// Entry 2 of the button page; item 0 of the menu's second submenu is the
// first media key, action 25.
constexpr int kMediaEntry = 2, kFirstMediaAction = 25;
constexpr int kEditProfileKey = 4, kResetKey = 31, kAccelKey = 22, kSupportPage = 3;
// The colour of the first CPI level, on the advanced page.
constexpr int kFirstLedColour = option::ControlId(9);
// Entry 0 holds the profile's only left click: anything else is refused there.
constexpr int kLeftClickEntry = 0;
// Record in the macro manager: with no macro in the store it asks for one.
constexpr int kRecordButton = static_cast<int>(option::macro_manager::ControlIdOf(7));

// Every window of Option and how the keyboard gets there: with page `page`
// shown, Space on `control` (of the page, or of the main window when
// `onPage` is false) and, on a button page button, the item of `command`
// picked from its menu with the arrows. A row without `order` is the main
// window showing that page, walked by its own table and the page's. A dialog
// is walked by the walk of its table `controls`, then Esc must end it as Cancel does: the button
// page then reports `outcome` for the command, and Option never says `confirmed`.
using Outcome = option::AssignmentOutcome;
struct WindowRow {
    const char* name;
    int page;
    bool onPage = false;
    int control = 0;
    unsigned command = 0;
    // A dialog opened from the macro manager by Space on this control; the
    // manager then closes on Esc after it.
    int inManager = 0;
    Controls controls = {};
    Outcome outcome = Outcome::Cancelled;
    std::string (*confirmed)() = nullptr;  // the line of the dialog's end
};
constexpr WindowRow PageRow(const char* name, int page) {
    return {.name = name, .page = page};
}
constexpr WindowRow MainWindowDialog(const char* name, int key, Controls controls,
                                     std::string (*confirmed)()) {
    return {.name = name,
            .page = kSupportPage,
            .control = option::ControlId(key),
            .controls = controls,
            .confirmed = confirmed};
}
constexpr WindowRow MenuDialog(const char* name, unsigned command, Controls controls,
                               Outcome outcome = Outcome::Cancelled, int entry = kMediaEntry) {
    return {.name = name,
            .page = 0,
            .onPage = true,
            .control = option::AssignButtonId(entry + 1),
            .command = command,
            .controls = controls,
            .outcome = outcome};
}
namespace command = option::command;
constexpr unsigned kRightClick = 1002;
// In the order that needs the fewest page switches (Ctrl+Tab goes forward).
constexpr WindowRow kWindows[] = {
    PageRow("button page", 0),
    PageRow("lighting page", 1),
    PageRow("advanced page", kAdvancedPage),
    PageRow("support page", kSupportPage),
    MainWindowDialog("profile dialog", kEditProfileKey, option::profile_dialog::kControls,
                     [] { return text::Format(trace::kOptionEditProfile, 0, 1); }),
    MainWindowDialog("reset warning", kResetKey, option::warning_dialog::kControls,
                     [] { return text::Format(trace::kOptionApply, 1, 1, 1); }),
    MenuDialog("repeated key dialog", command::kFire, option::fire_dialog::kControls),
    MenuDialog("shortcut dialog", command::kShortcut, option::shortcut_dialog::kControls),
    MenuDialog("program dialog", command::kLaunchProgram, option::launch_program_dialog::kControls),
    MenuDialog("media player dialog", command::kMediaPlayer, option::player_dialog::kControls),
    MenuDialog("macro manager", command::kMacroManager, option::macro_manager::kControls,
               Outcome::Unchanged),
    {.name = "macro needed warning",
     .page = 0,
     .onPage = true,
     .control = option::AssignButtonId(kMediaEntry + 1),
     .command = command::kMacroManager,
     .inManager = kRecordButton,
     .controls = option::warning_dialog::kControls,
     .outcome = Outcome::Unchanged},
    MenuDialog("click warning", kRightClick, option::warning_dialog::kControls,
               Outcome::LeftClickKept, kLeftClickEntry),
    {.name = "CPI level colour dialog",
     .page = kAdvancedPage,
     .onPage = true,
     .control = kFirstLedColour,
     .controls = option::dpi_color_dialog::kControls},
};
// The dialog photographed with the focus mark on its first control.
constexpr const char* kPhotographed = "media player dialog";

// The keys that walk the assignment menu of `entry` from its opening to
// the item of `command`, as the page builds the menu: Down to the item on
// each level (separators are passed over; a submenu opens on its first
// item), Right into a submenu. Empty when the menu has no such item.
bool KeysTo(const std::vector<option::MenuItem>& items, unsigned command, std::vector<WORD>& keys) {
    const std::size_t start = keys.size();
    for (const option::MenuItem& item : items) {
        if (item.kind == option::MenuItem::Kind::Separator)
            continue;
        if (item.kind == option::MenuItem::Kind::Command && item.command == command)
            return true;
        if (item.kind == option::MenuItem::Kind::Submenu) {
            keys.push_back(VK_RIGHT);
            if (KeysTo(item.items, command, keys))
                return true;
            keys.pop_back();
        }
        keys.push_back(VK_DOWN);
    }
    keys.resize(start);
    return false;
}
std::vector<WORD> MenuKeysTo(int entry, unsigned command) {
    const option::AssignmentMenu menu = option::BuildAssignmentMenu(entry, {}, {});
    std::vector<WORD> keys{VK_DOWN};  // the opened menu has no item selected yet
    return KeysTo(menu.items, command, keys) ? keys : std::vector<WORD>{};
}
// The lighting page: the custom colour choice and the spectrum.
constexpr int kLightingPage = 1, kCustomColor = option::ControlId(11),
              kSpectrum = option::ControlId(53);

std::string KeyMapLine(const device::DataBlock& map, int button) {
    char text[32];
    std::snprintf(text, sizeof text, "key %d %02X %02X %02X %02X", button, map[4 * button],
                  map[4 * button + 1], map[4 * button + 2], map[4 * button + 3]);
    return text;
}

std::string CpiLine(const device::DataBlock& block) {
    char text[64];
    const std::size_t at = device::param::kCpiX;
    std::snprintf(text, sizeof text, "cpi_x %d %d %d %d", (block[at] + 1) * 100,
                  (block[at + 1] + 1) * 100, (block[at + 2] + 1) * 100, (block[at + 3] + 1) * 100);
    return text;
}

std::string LedsLine(const device::DataBlock& block) {
    std::string line = "leds";
    for (int i = 0; i < device::kLedSlotsSent; ++i) {
        const std::size_t at = device::param::kLedSlots + 3 * static_cast<std::size_t>(i);
        char text[8];
        std::snprintf(text, sizeof text, " %02X%02X%02X", block[at], block[at + 1], block[at + 2]);
        line += text;
    }
    return line;
}

// Waits for the mouse to show `want` among the lines of `profile` (from 0).
bool MouseShows(const VirtualMouseSession& mouse, int profile, const std::string& want) {
    return e2e::WaitUntil([&] {
        for (const std::string& line :
             VirtualMouseSession::ProfileSection(mouse.Dump(), profile + 1)) {
            if (line.rfind(want, 0) == 0)
                return true;
        }
        return false;
    });
}

// The colour the screen shows at `at` of `control`. The page's own paint
// may cover the control after it painted, so the control paints again before
// each read, until the read differs from the page's ground beside it.
COLORREF ShownAt(HWND control, POINT at) {
    const auto pixel = [](POINT p) {
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return c;
    };
    RECT box{};
    GetWindowRect(control, &box);
    POINT onScreen = at;
    ClientToScreen(control, &onScreen);
    COLORREF shown = CLR_INVALID;
    e2e::WaitUntil([&] {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        shown = pixel(onScreen);
        return shown != CLR_INVALID && shown != pixel(POINT{box.left - 3, onScreen.y});
    });
    return shown;
}

// What a screen reader reads of a control, through the system's
// accessibility functions.
struct Spoken {
    std::string name;
    std::string value;
    long role = 0;
    long state = 0;
};

std::string Narrow(BSTR text) {
    if (text == nullptr)
        return {};
    char out[256] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out - 1, nullptr, nullptr);
    SysFreeString(text);
    return out;
}

Spoken ReadAloud(HWND control) {
    Spoken spoken;
    IAccessible* object = nullptr;
    // __uuidof, not IID_IAccessible: the 64-bit oleacc import library, linked
    // here, exports that name as a function.
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr)
        return spoken;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if (object->get_accName(self, &text) == S_OK)
        spoken.name = Narrow(text);
    text = nullptr;
    if (object->get_accValue(self, &text) == S_OK)
        spoken.value = Narrow(text);
    VARIANT answer{};
    if (object->get_accRole(self, &answer) == S_OK && answer.vt == VT_I4)
        spoken.role = answer.lVal;
    if (object->get_accState(self, &answer) == S_OK && answer.vt == VT_I4)
        spoken.state = answer.lVal;
    object->Release();
    return spoken;
}

class KeyboardOnly : public ::testing::Test {
  protected:
    void SetUp() override { com_ = SUCCEEDED(CoInitialize(nullptr)); }
    void TearDown() override {
        e2e::EndMonitor(monitor_);
        if (com_)
            CoUninitialize();
    }

    HWND Page(int page) const { return GetDlgItem(option_.Window(), 2000 + page); }

    // The controls Tab should visit on the main window showing `page`, as
    // its table and the page's table list them, without the hidden and
    // disabled ones.
    std::vector<HWND> ExpectedOrder(int page) const {
        std::vector<HWND> expected;
        static constexpr Controls kPages[] = {
            option::button_page::kControls, option::lighting_page::kControls,
            option::advanced_page::kControls, option::support_page::kControls};
        for (int id : skin::TabWalk(option::main_window::kControls)) {
            if (id != option::kShownPage) {
                AddUsable(option_.Window(), std::span(&id, 1), expected);
                continue;
            }
            AddUsable(Page(page), skin::TabWalk(kPages[static_cast<std::size_t>(page)]), expected);
        }
        return expected;
    }
    // Every control the table names must be in the window: the walk would
    // pass over a wrong id without a word.
    static void AddUsable(HWND parent, std::span<const int> ids, std::vector<HWND>& expected) {
        std::vector<HWND> all;
        skin::AppendControls(parent, ids, all);
        EXPECT_EQ(all.size(), std::count_if(ids.begin(), ids.end(), [](int id) { return id >= 0; }))
            << "a control of the table is missing from window " << parent;
        std::copy_if(all.begin(), all.end(), std::back_inserter(expected), &skin::TakesTabStop);
    }

    // The control of `order` that holds the focus (or whose child does).
    std::size_t FocusedAt(std::span<const HWND> order) const {
        HWND focus = option_.Focus();
        std::size_t at = 0;
        while (at < order.size() && order[at] != focus && !IsChild(order[at], focus)) ++at;
        return at;
    }
    // Presses `key` and waits for the focus to move to `to` (or a child of it,
    // the edit field of a spin box).
    bool MoveFocus(WORD key, HWND to, bool shift = false) const {
        option_.Type(key, false, shift);
        return e2e::WaitUntil([&] {
            HWND now = option_.Focus();
            return now == to || (now != nullptr && IsChild(to, now));
        });
    }
    // A whole round of Tab from the focused control and one Shift+Tab back:
    // the focus visits exactly `expected`, in its order.
    void WalkRound(std::span<const HWND> expected, const char* window) const {
        ASSERT_FALSE(expected.empty()) << window;
        const std::size_t at = FocusedAt(expected);
        ASSERT_LT(at, expected.size()) << "the focus is outside the table of " << window
                                       << ", on id " << GetDlgCtrlID(option_.Focus());
        for (std::size_t n = 1; n <= expected.size(); ++n) {
            HWND next = expected[(at + n) % expected.size()];
            ASSERT_TRUE(MoveFocus(VK_TAB, next))
                << window << " step " << n << ": focus on id " << GetDlgCtrlID(option_.Focus())
                << ", table says " << GetDlgCtrlID(next);
        }
        HWND previous = expected[(at + expected.size() - 1) % expected.size()];
        ASSERT_TRUE(MoveFocus(VK_TAB, previous, true)) << "Shift+Tab in " << window;
    }
    // Tabs forward to the control `target` of `parent`.
    void TabTo(HWND parent, int target, int page) const {
        ASSERT_NO_FATAL_FAILURE(TabTo(parent, target, ExpectedOrder(page).size()));
    }
    // Tabs forward to the control `target` of `parent`, at most `stops` times.
    void TabTo(HWND parent, int target, std::size_t stops) const {
        HWND want = GetDlgItem(parent, target);
        ASSERT_NE(want, nullptr) << target;
        for (std::size_t i = 0; i < stops && option_.Focus() != want; ++i) {
            HWND before = option_.Focus();
            option_.Type(VK_TAB);
            ASSERT_TRUE(e2e::WaitUntil([&] { return option_.Focus() != before; }))
                << "Tab moved nothing";
        }
        ASSERT_EQ(option_.Focus(), want) << target;
    }
    void SwitchPageTo(int page, bool back = false) const {
        option_.Type(VK_TAB, true, back);
        ASSERT_TRUE(e2e::WaitUntil([&] { return option_.PageVisible(page); })) << page;
    }
    // Ctrl+Tab until `page` shows.
    void ShowPage(int page) {
        while (current_ != page) {
            current_ = (current_ + 1) % kPageCount;
            ASSERT_NO_FATAL_FAILURE(SwitchPageTo(current_));
        }
    }
    // Space on the focused button page button: its menu is up once its trace
    // is out and Option answers again (from inside the menu's loop).
    void OpenMenuBySpace(int entry) {
        const std::string trace = text::Format(trace::kButtonMenu, entry);
        const int before = option_.Process().CountDebugText(trace);
        option_.Type(VK_SPACE);
        ASSERT_TRUE(option_.Process().WaitForDebugText(trace, before + 1));
        ASSERT_NE(SendMessageTimeoutA(option_.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr),
                  0);
    }
    std::unique_ptr<settings::SettingsBlock> ApplyBySpace() {
        TabTo(option_.Window(), kApply, current_);
        option_.Type(VK_SPACE);
        return option_.AppliedBlock(++applies_);
    }

    void StartOverTheMouse(const VirtualMouseSession& mouse);
    void WalkEveryWindowInTableOrder();
    void WalkDialog(const WindowRow& row);
    HWND FocusedWindowOver(HWND shown) const;
    void WalkAndEscape(HWND dialog, HWND opener, std::span<const int> order, const char* name);
    void WalkAGroupByArrows() const;
    void SetTheCpiByKeys(const VirtualMouseSession& mouse);
    void PickACustomColourByKeys(const VirtualMouseSession& mouse);
    void AssignFromTheMenuByKeys(const VirtualMouseSession& mouse);
    void HearASliderACheckAndASelector();

    bool com_ = false;
    int current_ = 0;  // the page shown
    int applies_ = 0;
    std::map<std::string, int> commandsSeen_;  // button page outcomes waited for
    e2e::ProgramFolder folder_;
    e2e::Program monitor_;
    OptionDriver option_{folder_};
};

void KeyboardOnly::StartOverTheMouse(const VirtualMouseSession& mouse) {
    ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return VirtualMouseSession::FullUploadDone(mouse.Log()); }, 60s));
    ASSERT_TRUE(option_.Start());
    // The focus starts on the first profile selector, which takes keys.
    HWND first = GetDlgItem(option_.Window(), kFirstProfile);
    ASSERT_TRUE(e2e::WaitUntil([&] {
        return option_.ApplyReady() && IsWindowVisible(option_.Window()) &&
               option_.Focus() == first;
    })) << "focus on id "
        << GetDlgCtrlID(option_.Focus());
}

// Each window of kWindows in turn, a whole round of Tab and one Shift+Tab
// back: the focus visits exactly the table's controls, in its order.
void KeyboardOnly::WalkEveryWindowInTableOrder() {
    for (const WindowRow& row : kWindows) {
        ASSERT_NO_FATAL_FAILURE(ShowPage(row.page));
        if (!row.controls.empty()) {
            ASSERT_NO_FATAL_FAILURE(WalkDialog(row));
            continue;
        }
        ASSERT_NO_FATAL_FAILURE(WalkRound(ExpectedOrder(row.page), row.name));
        if (row.page == 0) {
            EXPECT_TRUE(option_.Screenshot("keyboard_focus_on_selector"));
        }
    }
    ASSERT_NO_FATAL_FAILURE(ShowPage(kAdvancedPage));
}

// The top-level window other than `shown` that holds Option's focus, once
// it is up.
HWND KeyboardOnly::FocusedWindowOver(HWND shown) const {
    HWND window = nullptr;
    const bool up = e2e::WaitUntil([&] {
        HWND focus = option_.Focus();
        window = focus != nullptr ? GetAncestor(focus, GA_ROOT) : nullptr;
        return window != nullptr && window != shown && window != option_.Window() &&
               IsWindowVisible(window);
    });
    return up ? window : nullptr;
}

// `dialog`, just opened by keys from `opener`, opens with the focus on the
// first control of `order` and walks it; Esc closes it and gives the focus
// back to `opener`.
void KeyboardOnly::WalkAndEscape(HWND dialog, HWND opener, std::span<const int> order,
                                 const char* name) {
    ASSERT_NE(dialog, nullptr) << name << " did not take the focus";
    std::vector<HWND> expected;
    AddUsable(dialog, order, expected);
    ASSERT_FALSE(expected.empty()) << name;
    ASSERT_EQ(FocusedAt(expected), 0u)
        << name << " opens with the focus on id " << GetDlgCtrlID(option_.Focus());
    ASSERT_NO_FATAL_FAILURE(WalkRound(expected, name));
    if (std::string_view(name) == kPhotographed) {
        ASSERT_TRUE(MoveFocus(VK_TAB, expected.front()));
        EXPECT_TRUE(option_.Screenshot("keyboard_focus_in_dialog", dialog));
    }
    option_.Type(VK_ESCAPE);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(dialog); })) << "Esc on the " << name;
    EXPECT_TRUE(e2e::WaitUntil([&] { return option_.Focus() == opener; }))
        << "after the " << name << " the focus is on id " << GetDlgCtrlID(option_.Focus());
}

// Opens the dialog of `row` by keys, walks it and ends it with Esc, which
// must do what Cancel does.
void KeyboardOnly::WalkDialog(const WindowRow& row) {
    HWND parent = row.onPage ? Page(row.page) : option_.Window();
    ASSERT_NO_FATAL_FAILURE(TabTo(parent, row.control, row.page));
    HWND opener = option_.Focus();
    const int entry = row.control - option::AssignButtonId(1);
    if (row.command != 0) {
        const std::vector<WORD> keys = MenuKeysTo(entry, row.command);
        ASSERT_FALSE(keys.empty()) << "no item " << row.command << " in the menu";
        ASSERT_NO_FATAL_FAILURE(OpenMenuBySpace(entry));
        for (WORD key : keys) option_.Type(key);
        option_.Type(VK_RETURN);
    } else {
        option_.Type(VK_SPACE);
    }
    HWND dialog = FocusedWindowOver(nullptr);
    if (row.inManager == 0) {
        ASSERT_NO_FATAL_FAILURE(
            WalkAndEscape(dialog, opener, skin::TabWalk(row.controls), row.name));
    } else {
        ASSERT_NE(dialog, nullptr) << "the macro manager did not take the focus";
        ASSERT_NO_FATAL_FAILURE(
            TabTo(dialog, row.inManager, std::size(option::macro_manager::kControls)));
        HWND inner = option_.Focus();
        option_.Type(VK_SPACE);
        ASSERT_NO_FATAL_FAILURE(
            WalkAndEscape(FocusedWindowOver(dialog), inner, skin::TabWalk(row.controls), row.name));
        option_.Type(VK_ESCAPE);
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(dialog); })) << "Esc on the manager";
    }
    if (row.command != 0) {
        const std::string said = text::Format(trace::kButtonCommandOutcome, row.command, entry,
                                              static_cast<int>(row.outcome));
        EXPECT_TRUE(option_.Process().WaitForDebugText(said, ++commandsSeen_[said])) << said;
    }
    if (row.confirmed != nullptr) {
        // Whatever the dialog's end started has run once Option answers.
        ASSERT_NE(SendMessageTimeoutA(option_.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr),
                  0);
        EXPECT_EQ(option_.Process().CountDebugText(row.confirmed()), 0)
            << "Esc confirmed the " << row.name;
    }
}

// The arrows walk the report rates round within their group; Tab leaves it
// for the next control of the table.
void KeyboardOnly::WalkAGroupByArrows() const {
    HWND page = Page(kAdvancedPage);
    ASSERT_NO_FATAL_FAILURE(TabTo(page, kRate125, kAdvancedPage));
    ASSERT_TRUE(MoveFocus(VK_RIGHT, GetDlgItem(page, kRate250)));
    ASSERT_TRUE(MoveFocus(VK_UP, GetDlgItem(page, kRate125)));
    ASSERT_TRUE(MoveFocus(VK_LEFT, GetDlgItem(page, kRate1000))) << "the group wraps round";
    ASSERT_TRUE(MoveFocus(VK_TAB, GetDlgItem(page, option::ControlId(5))));
}

// Right three times, then End: the CPI level X of the current level at its
// maximum, as the mouse shows it.
void KeyboardOnly::SetTheCpiByKeys(const VirtualMouseSession& mouse) {
    ASSERT_NO_FATAL_FAILURE(TabTo(Page(kAdvancedPage), kCpiXSlider, kAdvancedPage));
    EXPECT_TRUE(option_.Screenshot("keyboard_focus_on_slider"));
    for (int i = 0; i < 3; ++i) option_.Type(VK_RIGHT);
    option_.Type(VK_END);
    const auto block = ApplyBySpace();
    ASSERT_NE(block, nullptr);
    const settings::ProfileRecord& p = block->profiles[block->currentProfile];
    EXPECT_EQ(p.CpiLevel_X[std::clamp(p.CpiStep, 0, 3)], kCpiMaximum);
    const std::string want = CpiLine(device::BuildProfileParameterBlock(p));
    EXPECT_TRUE(MouseShows(mouse, block->currentProfile, want)) << want;
}

// On the lighting page the level takes its custom colour (Space on the
// custom choice); then on the spectrum End, Ctrl+Left and Down three times
// move the pick point from the marker's start, each move picking what a
// click there picks: the mouse's LED shows the colour drawn at that point.
void KeyboardOnly::PickACustomColourByKeys(const VirtualMouseSession& mouse) {
    current_ = kLightingPage;
    ASSERT_NO_FATAL_FAILURE(SwitchPageTo(current_, true));
    HWND page = Page(kLightingPage);
    ASSERT_NO_FATAL_FAILURE(TabTo(page, kCustomColor, current_));
    option_.Type(VK_SPACE);
    ASSERT_NO_FATAL_FAILURE(TabTo(page, kSpectrum, current_));
    HWND spectrum = GetDlgItem(page, kSpectrum);
    option_.Type(VK_END);
    option_.Type(VK_LEFT, true);
    for (int i = 0; i < 3; ++i) option_.Type(VK_DOWN);
    // The marker starts 7 pixels below the top of the pick area; its ring
    // leaves the point itself showing.
    HDC screen = GetDC(nullptr);
    const int percent = MulDiv(GetDeviceCaps(screen, LOGPIXELSX), 100, 96);
    ReleaseDC(nullptr, screen);
    const skin::PickBounds area = skin::PickerBounds(percent);
    const POINT at{area.right - skin::LargePickStep(percent), area.top + 7 + 3};
    EXPECT_TRUE(option_.Screenshot("keyboard_focus_on_spectrum"));
    const COLORREF drawn = ShownAt(spectrum, at);
    ASSERT_NE(drawn, CLR_INVALID);
    const std::string colourText = skin::ColorText(drawn);
    EXPECT_TRUE(e2e::WaitUntil([&] { return ReadAloud(spectrum).value == colourText; }))
        << "the spectrum says " << ReadAloud(spectrum).value << ", the screen shows " << colourText;
    const Spoken spoken = ReadAloud(spectrum);
    EXPECT_EQ(spoken.name, "Colour spectrum");
    EXPECT_EQ(spoken.role, ROLE_SYSTEM_SLIDER);
    const auto block = ApplyBySpace();
    ASSERT_NE(block, nullptr);
    const settings::ProfileRecord& p = block->profiles[block->currentProfile];
    const std::size_t level = static_cast<std::size_t>(std::clamp(p.CpiStep, 0, 3));
    EXPECT_EQ(p.ColorType[level], 1);
    EXPECT_EQ(p.ClCustom[level], drawn);
    const std::string want = LedsLine(device::BuildProfileParameterBlock(p));
    EXPECT_TRUE(MouseShows(mouse, block->currentProfile, want)) << want;
}

// Space opens the menu of a button page button; Down, Right, Enter pick the
// first media key.
void KeyboardOnly::AssignFromTheMenuByKeys(const VirtualMouseSession& mouse) {
    current_ = 0;
    ASSERT_NO_FATAL_FAILURE(SwitchPageTo(current_, true));
    ASSERT_NO_FATAL_FAILURE(TabTo(Page(0), option::AssignButtonId(kMediaEntry + 1), 0));
    EXPECT_TRUE(option_.Screenshot("keyboard_focus_on_button"));
    ASSERT_NO_FATAL_FAILURE(OpenMenuBySpace(kMediaEntry));
    for (WORD key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}) option_.Type(key);
    ASSERT_TRUE(
        option_.Process().WaitForDebugText(text::Format(trace::kButtonCommandOutcome, 1025u, 2, 0)))
        << "menus opened: "
        << option_.Process().CountDebugText(text::Format(trace::kButtonMenu, 2));
    const auto block = ApplyBySpace();
    ASSERT_NE(block, nullptr);
    const settings::ProfileRecord& p = block->profiles[block->currentProfile];
    EXPECT_EQ(p.MacroKeyInfo[kMediaEntry].actionCode, kFirstMediaAction);
    device::DataBlock keyMap{};
    auto staging = std::make_unique<device::MacroStaging>();
    device::BuildKeyMapAndMacros(p, block->currentProfile, keyMap, *staging);
    const std::string want = KeyMapLine(keyMap, kMediaEntry);
    EXPECT_TRUE(MouseShows(mouse, block->currentProfile, want)) << want;
}

// What a screen reader says of the CPI X slider just set to its end, the
// pointer precision check and the first profile selector.
void KeyboardOnly::HearASliderACheckAndASelector() {
    const Spoken slider = ReadAloud(GetDlgItem(Page(kAdvancedPage), kCpiXSlider));
    EXPECT_EQ(slider.name, "CPI of the X axis");
    EXPECT_EQ(slider.role, ROLE_SYSTEM_SLIDER);
    EXPECT_EQ(slider.value, std::to_string(kCpiMaximum * 100) + " CPI");
    const Spoken check = ReadAloud(GetDlgItem(Page(kAdvancedPage), option::ControlId(kAccelKey)));
    EXPECT_EQ(check.name, "Enhance pointer precision");
    EXPECT_EQ(check.role, ROLE_SYSTEM_CHECKBUTTON);
    const Spoken selector = ReadAloud(GetDlgItem(option_.Window(), kFirstProfile));
    EXPECT_EQ(selector.name, "Switch to profile 1");
    EXPECT_EQ(selector.role, ROLE_SYSTEM_PAGETAB);
    EXPECT_NE(selector.state & STATE_SYSTEM_SELECTED, 0) << "profile 1 is the one shown";
}

TEST_F(KeyboardOnly, EveryStepByKeysReachesTheMouse) {
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    ASSERT_NO_FATAL_FAILURE(StartOverTheMouse(mouse));
    ASSERT_NO_FATAL_FAILURE(WalkEveryWindowInTableOrder());
    ASSERT_NO_FATAL_FAILURE(WalkAGroupByArrows());
    ASSERT_NO_FATAL_FAILURE(SetTheCpiByKeys(mouse));
    HearASliderACheckAndASelector();
    ASSERT_NO_FATAL_FAILURE(PickACustomColourByKeys(mouse));
    ASSERT_NO_FATAL_FAILURE(AssignFromTheMenuByKeys(mouse));
    // Esc closes Option without applying, whatever has the focus.
    option_.Type(VK_ESCAPE);
    EXPECT_TRUE(option_.WaitGone());
    EXPECT_EQ(option_.Process().CountDebugText(text::Format(trace::kOptionApply, 0, 1, 1)),
              applies_)
        << "Esc applied";
}

}  // namespace
