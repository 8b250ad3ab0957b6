// Option worked from the keyboard alone, with the real Monitor and the
// virtual mouse: Tab walks every window in the order of its table, a slider
// moved by keys, a custom colour picked from the spectrum by keys and an
// assignment chosen from a button's menu by keys reach the mouse after an
// Apply pressed with Space.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/settings/settings_block.h"
#include "monitor/device/device_blocks.h"
#include "option/skin/accessible_text.h"
#include "option/skin/control_math.h"
#include "option/tab_orders.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/option/option_driver_win.h"

namespace {

using namespace std::chrono_literals;
using e2e::OptionDriver;
using e2e::VirtualMouseSession;
namespace order = option::tab_order;

constexpr int kPageCount = 4, kAdvancedPage = 2;
constexpr int kCpiXSlider = 207, kCpiMaximum = 160;
constexpr int kApply = option::ControlId(13), kFirstProfile = option::ControlId(5);
// The report rates of the advanced page, a group of four.
constexpr int kRate125 = option::ControlId(1), kRate250 = option::ControlId(2),
              kRate1000 = option::ControlId(4);
// Entry 2 of the button page; item 0 of the menu's second submenu is the
// first media key, action 25.
constexpr int kMediaEntry = 2, kFirstMediaAction = 25;
constexpr int kEditProfileKey = 4, kAccelKey = 22;
// The lighting page: the custom colour choice and the spectrum.
constexpr int kLightingPage = 1, kCustomColor = option::ControlId(11),
              kSpectrum = option::ControlId(53);
constexpr const char* kProfileDialogTitle = "Profile Dialog";

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
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
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
        for (int id : order::kMainWindow) {
            if (id != order::kShownPage) {
                AddUsable(option_.Window(), std::span(&id, 1), expected);
                continue;
            }
            AddUsable(Page(page), order::kPages[static_cast<std::size_t>(page)], expected);
        }
        return expected;
    }
    static void AddUsable(HWND parent, std::span<const int> ids, std::vector<HWND>& expected) {
        for (int id : ids) {
            HWND control = id >= 0 ? GetDlgItem(parent, id) : nullptr;
            if (control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control))
                expected.push_back(control);
        }
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
        const std::vector<HWND> expected = ExpectedOrder(page);
        HWND want = GetDlgItem(parent, target);
        ASSERT_NE(want, nullptr) << target;
        for (std::size_t i = 0; i < expected.size() && option_.Focus() != want; ++i) {
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
    std::unique_ptr<settings::SettingsBlock> ApplyBySpace() {
        TabTo(option_.Window(), kApply, current_);
        option_.Type(VK_SPACE);
        return option_.AppliedBlock(++applies_);
    }

    void StartOverTheMouse(const VirtualMouseSession& mouse);
    void WalkEveryPageInTableOrder();
    void WalkAGroupByArrows() const;
    void SetTheCpiByKeys(const VirtualMouseSession& mouse);
    void PickACustomColourByKeys(const VirtualMouseSession& mouse);
    void AssignFromTheMenuByKeys(const VirtualMouseSession& mouse);
    void OpenAndCancelADialogByKeys();
    void HearASliderACheckAndASelector();

    bool com_ = false;
    int current_ = 0;  // the page shown
    int applies_ = 0;
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

// Each page in turn (Ctrl+Tab), then a whole round of Tab and one Shift+Tab
// back: the focus visits exactly the table's controls, in its order.
void KeyboardOnly::WalkEveryPageInTableOrder() {
    for (int step = 0; step < kPageCount; ++step) {
        if (step > 0) {
            current_ = (current_ + 1) % kPageCount;
            ASSERT_NO_FATAL_FAILURE(SwitchPageTo(current_));
        }
        const std::string window = "page " + std::to_string(current_);
        ASSERT_NO_FATAL_FAILURE(WalkRound(ExpectedOrder(current_), window.c_str()));
        if (step == 0) {
            EXPECT_TRUE(option_.Screenshot("keyboard_focus_on_selector"));
        }
    }
    // From the support page back round to the advanced page.
    current_ = kAdvancedPage;
    ASSERT_NO_FATAL_FAILURE(SwitchPageTo(current_, true));
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
    ASSERT_NO_FATAL_FAILURE(TabTo(Page(0), order::AssignButton(kMediaEntry + 1), 0));
    EXPECT_TRUE(option_.Screenshot("keyboard_focus_on_button"));
    option_.Type(VK_SPACE);
    // The menu is up once its trace is out and Option answers again (from
    // inside the menu's loop).
    ASSERT_TRUE(option_.Process().WaitForDebugText("CButtonPage menu 2\n"));
    ASSERT_NE(SendMessageTimeoutA(option_.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr), 0);
    for (WORD key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}) option_.Type(key);
    ASSERT_TRUE(option_.Process().WaitForDebugText("CButtonPage command 1025 button 2 outcome 0\n"))
        << "menus opened: " << option_.Process().CountDebugText("CButtonPage menu 2\n");
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

// Space on the profile button opens the profile dialog; inside it Tab walks
// the dialog's table as on the pages, and Esc cancels it: the focus is
// back in the main window, which stays open.
void KeyboardOnly::OpenAndCancelADialogByKeys() {
    ASSERT_NO_FATAL_FAILURE(TabTo(option_.Window(), option::ControlId(kEditProfileKey), current_));
    option_.Type(VK_SPACE);
    HWND dialog = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] {
        dialog = FindWindowA(nullptr, kProfileDialogTitle);
        return dialog != nullptr && IsWindowVisible(dialog) && option_.Focus() != nullptr &&
               GetAncestor(option_.Focus(), GA_ROOT) == dialog;
    }));
    std::vector<HWND> expected;
    AddUsable(dialog, order::kProfileDialog, expected);
    ASSERT_NO_FATAL_FAILURE(WalkRound(expected, kProfileDialogTitle));
    option_.Type(VK_ESCAPE);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(dialog); })) << "Esc cancels the dialog";
    EXPECT_TRUE(IsWindow(option_.Window()));
}

TEST_F(KeyboardOnly, EveryStepByKeysReachesTheMouse) {
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    ASSERT_NO_FATAL_FAILURE(StartOverTheMouse(mouse));
    ASSERT_NO_FATAL_FAILURE(WalkEveryPageInTableOrder());
    ASSERT_NO_FATAL_FAILURE(WalkAGroupByArrows());
    ASSERT_NO_FATAL_FAILURE(SetTheCpiByKeys(mouse));
    HearASliderACheckAndASelector();
    ASSERT_NO_FATAL_FAILURE(PickACustomColourByKeys(mouse));
    ASSERT_NO_FATAL_FAILURE(AssignFromTheMenuByKeys(mouse));
    ASSERT_NO_FATAL_FAILURE(OpenAndCancelADialogByKeys());
    // Esc closes Option without applying, whatever has the focus.
    option_.Type(VK_ESCAPE);
    EXPECT_TRUE(option_.WaitGone());
    EXPECT_EQ(option_.Process().CountDebugText("COptionDlg Apply 0 published 1 pending 1\n"),
              applies_)
        << "Esc applied";
}

}  // namespace
