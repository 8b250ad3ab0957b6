// The advanced settings page, the lighting page and the DPI colour dialog
// with the real Monitor and the virtual mouse: the user's clicks and slider
// moves reach the mouse, after Apply, exactly as the device encoder turns the
// published profile into bytes, and the pointer settings reach the system.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "common/settings/settings_block.h"
#include "common/text_format.h"
#include "common/trace_points.h"
#include "common/win/scoped_win.h"
#include "monitor/device/command_report.h"
#include "monitor/device/device_blocks.h"
#include "option/skin/skin_loader_win.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/option/option_driver_win.h"
#include "tools/SkinGallery/gallery_window_win.h"

namespace {

using namespace std::chrono_literals;
using e2e::OptionDriver;
using e2e::VirtualMouseSession;

constexpr int kKeyProfile1 = 5, kKeyApply = 13, kKeyPage1 = 25;
constexpr int kLightingPage = 1, kAdvancedPage = 2;

// Keys of the advanced page and the lighting page (control id 1000 + key).
constexpr int kRate1000 = 4, kLevel3 = 7, kLed1 = 9, kSeparateCpi = 17, kLinkSens = 20, kAccel = 22,
              kTrails = 24;
constexpr int kSwitch3 = 5, kType0 = 6, kCustom = 11;
// Keys of the colour dialog: OK and cancel; its spin boxes are 400..402.
constexpr int kDialogOk = 1001, kDialogCancel = 1002;
constexpr POINT kSpectrumPoint{150, 136};

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

using text::Format;

constexpr const char* kMouseKey = "Control Panel\\Mouse";
// The system's values that decide whether a profile read from the registry
// starts with acceleration and with trails on; the test clicks both checks,
// so both must start from "off" whatever an earlier run left behind.
constexpr const char* kStartOffValues[] = {"MouseSpeed", "MouseThreshold1", "MouseThreshold2",
                                           "MouseTrails"};
constexpr const char* kMissing = "<missing>";

std::string RegistryText(const char* key, const char* value) {
    char text[80] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return kMissing;
    return text;
}

void SetRegistryText(const char* key, const char* value, const std::string& text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key, value, REG_SZ, text.c_str(),
                    static_cast<DWORD>(text.size() + 1));
}

class SettingsPages : public ::testing::Test {
  protected:
    void SetUp() override {
        for (std::size_t i = 0; i < std::size(kStartOffValues); ++i) {
            saved_[i] = RegistryText(kMouseKey, kStartOffValues[i]);
            SetRegistryText(kMouseKey, kStartOffValues[i], "0");
        }
    }
    void TearDown() override {
        e2e::EndMonitor(monitor_);
        for (std::size_t i = 0; i < std::size(kStartOffValues); ++i) {
            if (saved_[i] != kMissing) {
                SetRegistryText(kMouseKey, kStartOffValues[i], saved_[i]);
            } else {
                RegDeleteKeyValueA(HKEY_CURRENT_USER, kMouseKey, kStartOffValues[i]);
            }
        }
    }

    HWND Page(int page) const { return GetDlgItem(option_.Window(), 2000 + page); }
    void ShowPage(int page) {
        option_.Click(kKeyPage1 + page);
        ASSERT_TRUE(e2e::WaitUntil([&] { return option_.PageVisible(page); }));
    }
    // A press and release in the middle of a page's button.
    void Press(int page, int key) const {
        HWND button = GetDlgItem(Page(page), 1000 + key);
        ASSERT_NE(button, nullptr) << "key " << key;
        RECT r{};
        GetClientRect(button, &r);
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(r.right / 2, r.bottom / 2));
        PostMessageA(button, WM_LBUTTONUP, 0, At(r.right / 2, r.bottom / 2));
    }
    // A click on a slider's track `x` pixels from its left end.
    void Slide(int page, int slider, int x) {
        HWND track = GetDlgItem(Page(page), slider);
        ASSERT_NE(track, nullptr) << "slider " << slider;
        PostMessageA(track, WM_LBUTTONUP, 0, At(x, 10));
        ++slides_;
    }
    // A slider click reaches the page in two steps: the track takes the
    // click, writes its trace and posts the value to the page, which takes
    // the value in later. So a message posted after the click (Apply, a
    // button press) can overtake the value, and a message sent to Option
    // (which it handles before anything posted) proves nothing. Option
    // handles a sent message only between two handlers, though: once every
    // click's trace is out and a sent message has come back, every value
    // waits in Option's queue ahead of whatever the test posts next.
    void WaitForSlidesQueued() {
        ASSERT_TRUE(e2e::WaitUntil([&] { return TrackClicksTaken() >= slides_; }))
            << TrackClicksTaken() << " of " << slides_ << " slider clicks taken";
        ASSERT_NE(SendMessageTimeoutA(option_.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr),
                  0);
    }
    int TrackClicksTaken() {
        int taken = 0;
        for (const std::string& text : option_.Process().DebugTexts())
            taken += trace::IsFrom(trace::kSliderClicked, text) ? 1 : 0;
        return taken;
    }

    HWND OpenColourDialog(int led) {
        const int before =
            option_.Process().CountDebugText(text::Format(trace::kSpinValueTaken, 402));
        Press(kAdvancedPage, kLed1 + led);
        HWND dialog = option_.WaitForDialog(400);
        // The spin boxes report their first values once the dialog is up.
        EXPECT_TRUE(option_.Process().WaitForDebugText(text::Format(trace::kSpinValueTaken, 402),
                                                       before + 1));
        return dialog;
    }
    // Types `value` into spin box `id` of the dialog and waits for the
    // dialog to take it.
    void Spin(HWND dialog, int id, int value) {
        const std::string trace = text::Format(trace::kSpinValueTaken, id);
        const int before = option_.Process().CountDebugText(trace);
        HWND edit = GetDlgItem(GetDlgItem(dialog, id), 401);
        ASSERT_NE(edit, nullptr);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::to_string(value).c_str()));
        ASSERT_TRUE(option_.Process().WaitForDebugText(trace, before + 1));
    }
    // Where slider `id`'s thumb stands, and where it stands for `value`
    // (shown clamped into the slider's range, as the thumb is).
    int ThumbLeft(int page, int id) const {
        HWND track = GetDlgItem(Page(page), id);
        RECT t{}, k{};
        GetWindowRect(track, &t);
        GetWindowRect(GetWindow(track, GW_CHILD), &k);
        return k.left - t.left;
    }
    int ThumbLeftFor(int page, int id, int value, int minimum, int maximum) const {
        HWND track = GetDlgItem(Page(page), id);
        RECT t{}, k{};
        GetClientRect(track, &t);
        GetClientRect(GetWindow(track, GW_CHILD), &k);
        const int shown = std::clamp(value, minimum, maximum);
        // The nearest pixel, as the slider places it.
        const int span = maximum - minimum;
        return ((t.right - k.right) * (shown - minimum) + span / 2) / span;
    }
    // What the advanced page's sliders and two of its checks should show.
    struct Shown {
        std::array<int, 8> sliders;  // by slider id - 201
        bool trails;
        bool linkSensitivity;
    };
    static Shown ShownFor(const settings::ProfileRecord& p, int pointerPosition) {
        const int level = std::clamp(p.CpiStep, 0, 3);
        return {{p.OTGSpeed, p.Sensitivity_X, p.Sensitivity_Y, pointerPosition, p.ScrollWheelSpeed,
                 p.MouseTrails, p.CpiLevel_X[level], p.CpiLevel_Y[level]},
                p.bMouseTrails == 1,
                p.XYSynchronous == 1};
    }
    // Every slider and check that does not show `want`; "" when all do.
    std::string Mismatches(const Shown& want) {
        static constexpr int kRanges[8][2] = {{2, 255}, {1, 11}, {1, 11},  {1, 11},
                                              {1, 10},  {2, 7},  {1, 160}, {1, 160}};
        std::string out;
        for (int i = 0; i < 8; ++i) {
            const int id = 201 + i;
            const int at = ThumbLeft(kAdvancedPage, id);
            const int expected =
                ThumbLeftFor(kAdvancedPage, id, want.sliders[i], kRanges[i][0], kRanges[i][1]);
            if (at != expected)
                out += Format("slider %d at %d, %d for %d; ", id, at, expected, want.sliders[i]);
        }
        const int trails = LatchedLook(kTrails), link = LatchedLook(kLinkSens);
        if (trails != (want.trails ? 1 : 0))
            out += Format("trails check shows %d; ", trails);
        if (link != (want.linkSensitivity ? 1 : 0))
            out += Format("link check shows %d; ", link);
        return out;
    }
    // Whether an advanced page button shows its latched picture (1), its
    // normal one (0) or neither (-1), compared on screen with the skin's
    // pictures at the button's place (a little tolerance for the depth of
    // the display).
    int LatchedLook(int key) {
        if (normalSheet_.Get() == nullptr) {
            SIZE size{};
            skin::LoadSkinPicture(folder_.File("skins\\advanced_normal.jpg"), normalSheet_, size);
            skin::LoadSkinPicture(folder_.File("skins\\advanced_down.jpg"), downSheet_, size);
        }
        HWND button = GetDlgItem(Page(kAdvancedPage), 1000 + key);
        RECT r{};
        if (button == nullptr || normalSheet_.Get() == nullptr || downSheet_.Get() == nullptr ||
            !GetWindowRect(button, &r))
            return -1;
        POINT inPage{r.left, r.top};
        ScreenToClient(Page(kAdvancedPage), &inPage);
        const int w = r.right - r.left, h = r.bottom - r.top;
        win::ScopedWindowDc screen(nullptr);
        win::ScopedDc shot(CreateCompatibleDC(screen.Get()));
        win::ScopedGdi<HBITMAP> picture(CreateCompatibleBitmap(screen.Get(), w, h));
        win::ScopedSelect keepShot(shot.Get(), picture.Get());
        BitBlt(shot.Get(), 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY);
        win::ScopedDc sheet(CreateCompatibleDC(screen.Get()));
        auto differing = [&](HBITMAP image) {
            win::ScopedSelect keepSheet(sheet.Get(), image);
            int count = 0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const COLORREF a = GetPixel(shot.Get(), x, y);
                    const COLORREF b = GetPixel(sheet.Get(), inPage.x + x, inPage.y + y);
                    const bool alike = std::abs(GetRValue(a) - GetRValue(b)) <= 8 &&
                                       std::abs(GetGValue(a) - GetGValue(b)) <= 8 &&
                                       std::abs(GetBValue(a) - GetBValue(b)) <= 8;
                    count += alike ? 0 : 1;
                }
            }
            return count;
        };
        const int normal = differing(normalSheet_.Get());
        const int down = differing(downSheet_.Get());
        const int allowed = w * h / 10;
        if (down <= allowed && down < normal)
            return 1;
        if (normal <= allowed && normal < down)
            return 0;
        return -1;
    }
    static std::string SpinText(HWND dialog, int id) {
        char text[16] = {};
        SendMessageA(GetDlgItem(GetDlgItem(dialog, id), 401), WM_GETTEXT, sizeof text,
                     reinterpret_cast<LPARAM>(text));
        return text;
    }
    void Close(HWND dialog, int button) {
        HWND b = GetDlgItem(dialog, button);
        ASSERT_NE(b, nullptr);
        PostMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 10));
        PostMessageA(b, WM_LBUTTONUP, 0, At(20, 10));
        ASSERT_TRUE(e2e::WaitUntil([dialog] { return !IsWindow(dialog); }));
    }

    std::unique_ptr<settings::SettingsBlock> ApplyAndRead() {
        option_.Click(kKeyApply);
        auto block = option_.AppliedBlock(++applies_);
        EXPECT_NE(block, nullptr) << "Apply " << applies_;
        // An empty block fails the checks that follow instead of ending them.
        return block != nullptr ? std::move(block) : std::make_unique<settings::SettingsBlock>();
    }

    // The road's steps, in the order the test takes them.
    void StartOverTheMouse(const VirtualMouseSession& mouse);
    void SetTheAdvancedPage();
    void PickTheLedColours(COLORREF& pixel);
    void SetTheLightingPage();
    void CheckTheFirstProfile(const settings::ProfileRecord& p, COLORREF pixel);
    void ExpectTheMouseHolds(const VirtualMouseSession& mouse, const settings::ProfileRecord& p,
                             int number);
    void CheckTheSystem();
    void SetTheSecondProfile(const VirtualMouseSession& mouse,
                             std::unique_ptr<settings::SettingsBlock>& block);
    void SeeTheMouseSensitivityOnTheSliders(const VirtualMouseSession& mouse);
    void EditAndSwitchProfiles(const settings::ProfileRecord& first,
                               const settings::ProfileRecord& second);
    void CheckTheEditsAreKept();

    e2e::ProgramFolder folder_;
    e2e::Program monitor_;
    OptionDriver option_{folder_};
    int applies_ = 0;
    int slides_ = 0;
    std::string saved_[std::size(kStartOffValues)];
    skin::SkinBitmap normalSheet_;
    skin::SkinBitmap downSheet_;
};

// What the mouse's dump shows for a profile, worked out by the encoder.
std::vector<std::string> ExpectedDump(const settings::ProfileRecord& p) {
    const device::DataBlock b = device::BuildProfileParameterBlock(p);
    using device::param::kCpiX;
    using device::param::kCpiY;
    std::string leds = "leds";
    for (int i = 0; i < device::kLedSlotsSent; ++i) {
        const std::size_t at = device::param::kLedSlots + 3 * static_cast<std::size_t>(i);
        leds += Format(" %02X%02X%02X", b[at], b[at + 1], b[at + 2]);
    }
    auto cpi = [&](const char* name, std::size_t at) {
        return std::string(name) + Format(" %d %d %d %d", (b[at] + 1) * 100, (b[at + 1] + 1) * 100,
                                          (b[at + 2] + 1) * 100, (b[at + 3] + 1) * 100);
    };
    return {"report_interval_ms " + std::to_string(device::ReportIntervalMs(p.PollingRate)),
            "dpi_stage " + std::to_string(p.CpiStep + 1),
            cpi("cpi_x", kCpiX),
            cpi("cpi_y", kCpiY),
            Format("sensitivity %d %d", b[device::param::kSensitivityX],
                   b[device::param::kSensitivityY]),
            Format("lighting %d %d %d", b[device::param::kLightMode], b[device::param::kLightLevel],
                   b[device::param::kLightEnable]),
            leds};
}

// The skin picture's pixel, as the dialog loads and shows it.
COLORREF SpectrumPixel(const e2e::ProgramFolder& folder, POINT at) {
    skin::SkinBitmap picture;
    SIZE size{};
    if (!skin::LoadSkinPicture(folder.File("skins\\dpicolor_normal.jpg"), picture, size))
        return CLR_INVALID;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture.Get());
    const COLORREF pixel = GetPixel(dc, at.x, at.y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return pixel;
}

void SettingsPages::StartOverTheMouse(const VirtualMouseSession& mouse) {
    ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return VirtualMouseSession::FullUploadDone(mouse.Log()); }, 60s));
    ASSERT_TRUE(option_.Start());
    ASSERT_TRUE(e2e::WaitUntil([&] { return option_.ApplyReady(); }));
}

void SettingsPages::SetTheAdvancedPage() {
    // Advanced page: 1000 Hz, level 3 at 4100 CPI on both axes, then Y
    // alone at 12000; sensitivity 5 on both, then Y alone at 9; pointer
    // speed position 10, acceleration, trails of 5, 8 wheel lines.
    ShowPage(kAdvancedPage);
    Press(kAdvancedPage, kRate1000);
    Press(kAdvancedPage, kLevel3);
    Slide(kAdvancedPage, 207, 47);  // 1 + 47 x 159 / 188 = 40.75 -> 41
    Press(kAdvancedPage, kSeparateCpi);
    Slide(kAdvancedPage, 208, 141);  // 120.25 -> 120
    Slide(kAdvancedPage, 202, 100);  // 1 + 100 x 10 / 250 = 5
    Press(kAdvancedPage, kLinkSens);
    Slide(kAdvancedPage, 203, 200);  // 9
    Slide(kAdvancedPage, 204, 207);  // 10 -> MouseSpeed 18
    Press(kAdvancedPage, kAccel);
    Press(kAdvancedPage, kTrails);
    Slide(kAdvancedPage, 206, 138);  // 2 + 138 x 5 / 230 = 5
    Slide(kAdvancedPage, 205, 184);  // 1 + 184 x 9 / 230 = 8.2 -> 8
    WaitForSlidesQueued();
}

void SettingsPages::PickTheLedColours(COLORREF& pixel) {
    // LED 1 from the spectrum, LED 2 from the spin boxes, LED 3 cancelled.
    HWND dialog = OpenColourDialog(0);
    ASSERT_NE(dialog, nullptr);
    // A real click: it passes the keyboard's stop laid over the spectrum.
    POINT onScreen = kSpectrumPoint;
    ClientToScreen(dialog, &onScreen);
    SetForegroundWindow(dialog);
    pixel = SpectrumPixel(folder_, kSpectrumPoint);
    ASSERT_NE(pixel, CLR_INVALID);
    const auto picked = [&] { return SpinText(dialog, 401) == std::to_string(GetGValue(pixel)); };
    // The press waits until the pointer is over the dialog. Under a busy Wine
    // a press now and then still goes astray; a user would click again, and
    // so does the test (picking the same point twice changes nothing).
    for (int attempt = 0; attempt < 3 && !picked(); ++attempt) {
        SetCursorPos(onScreen.x, onScreen.y);
        ASSERT_TRUE(e2e::WaitUntil([&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == onScreen.x && at.y == onScreen.y &&
                   GetAncestor(WindowFromPoint(onScreen), GA_ROOT) == dialog;
        }));
        INPUT click[2] = {};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, click, sizeof(INPUT));
        e2e::WaitUntil(picked, std::chrono::seconds(3));
    }
    EXPECT_TRUE(picked());
    Close(dialog, kDialogOk);

    dialog = OpenColourDialog(1);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SpinText(dialog, 400), "0") << "LED 2 starts from its stored colour 0x00FF00";
    EXPECT_EQ(SpinText(dialog, 401), "255");
    Spin(dialog, 400, 18);
    Spin(dialog, 401, 52);
    Spin(dialog, 402, 86);
    const std::string artefacts = e2e::ArtifactsFolder();
    if (!artefacts.empty()) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_TRUE(gallery::SaveWindowShot(dialog, artefacts + "settings_dpi_color_dialog.bmp"));
    }
    Close(dialog, kDialogOk);

    dialog = OpenColourDialog(2);
    ASSERT_NE(dialog, nullptr);
    Spin(dialog, 400, 1);
    Close(dialog, kDialogCancel);
    // Every value and LED colour is in: the dialogs opened on presses posted
    // after the slider values.
    EXPECT_TRUE(option_.Screenshot("settings_page_advanced"));
}

void SettingsPages::SetTheLightingPage() {
    // Lighting page, for level 3: breathing level 3, a custom colour.
    ShowPage(kLightingPage);
    Press(kLightingPage, kSwitch3);
    Press(kLightingPage, kType0);
    Press(kLightingPage, kCustom);
    Slide(kLightingPage, 202, 49);   // 49 x 255 / 196 = 63.75 -> 64
    Slide(kLightingPage, 203, 0);    // 0
    Slide(kLightingPage, 204, 147);  // 191.25 -> 191
    WaitForSlidesQueued();
}

void SettingsPages::CheckTheFirstProfile(const settings::ProfileRecord& p, COLORREF pixel) {
    EXPECT_EQ(p.PollingRate, 3);
    EXPECT_EQ(p.CpiStep, 2);
    EXPECT_EQ(p.CpiLevel_X[2], 41);
    EXPECT_EQ(p.CpiLevel_Y[2], 120);
    EXPECT_EQ(p.Sensitivity_X, 5);
    EXPECT_EQ(p.Sensitivity_Y, 9);
    EXPECT_EQ(p.MouseSpeed, 18);
    EXPECT_EQ(p.AccelerationFlag, 1);
    EXPECT_EQ(p.Acceleration, 8);
    EXPECT_EQ(p.bMouseTrails, 1);
    EXPECT_EQ(p.MouseTrails, 5);
    EXPECT_EQ(p.ScrollWheelSpeed, 8);
    EXPECT_EQ(p.ScrollWheelFlag, 0);
    EXPECT_EQ(p.LedDPIColor[0], static_cast<std::uint32_t>(pixel));
    EXPECT_EQ(p.LedDPIColor[1], 0x00563412u);
    EXPECT_EQ(p.LedDPIColor[2], 0x00FF00FFu) << "cancel keeps the colour";
    EXPECT_EQ(p.LightSwitch, 3);
    EXPECT_EQ(p.LightType, 0);
    EXPECT_EQ(p.ColorType[2], 1);
    EXPECT_EQ(p.ClCustom[2], 0x00BF0040u);
    // What the mouse reports of them.
    const auto reported = ExpectedDump(p);
    EXPECT_EQ(reported[0], "report_interval_ms 1");
    EXPECT_EQ(reported[1], "dpi_stage 3");
}

// The mouse holds exactly what the encoder makes of the published profile.
void SettingsPages::ExpectTheMouseHolds(const VirtualMouseSession& mouse,
                                        const settings::ProfileRecord& p, int number) {
    const auto section = VirtualMouseSession::ProfileSection(mouse.Dump(), number);
    const auto expected = ExpectedDump(p);
    ASSERT_GE(section.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(section[i], expected[i]);
}

void SettingsPages::CheckTheSystem() {
    // The system: acceleration row 8 (1, 6, 0), trails 5, 8 lines, speed 18.
    int accel[3] = {-1, -1, -1};
    EXPECT_TRUE(e2e::WaitUntil([&] {
        SystemParametersInfoA(SPI_GETMOUSE, 0, accel, 0);
        return accel[2] == 1;
    }));
    EXPECT_EQ(accel[0], 6);
    EXPECT_EQ(accel[1], 0);
    UINT trails = 0;
    SystemParametersInfoA(SPI_GETMOUSETRAILS, 0, &trails, 0);
    EXPECT_EQ(trails, 5u);
    UINT lines = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    EXPECT_EQ(lines, 8u);
    EXPECT_EQ(RegistryText("Control Panel\\Mouse", "MouseSensitivity"), "18");
}

void SettingsPages::SetTheSecondProfile(const VirtualMouseSession& mouse,
                                        std::unique_ptr<settings::SettingsBlock>& block) {
    // Another profile: every control shows its own values. Its trails check
    // is off, so one click turns trails on; its LED 1 dialog opens on its own
    // colour, so OK keeps it.
    option_.Click(kKeyProfile1 + 1);
    ShowPage(kAdvancedPage);
    Press(kAdvancedPage, kTrails);
    HWND dialog = OpenColourDialog(0);
    ASSERT_NE(dialog, nullptr);
    Close(dialog, kDialogOk);
    block = ApplyAndRead();
    ASSERT_EQ(block->currentProfile, 1);
    EXPECT_EQ(block->profiles[1].bMouseTrails, 1);
    EXPECT_EQ(block->profiles[1].LedDPIColor[0], 0x00FF0000u);
    ExpectTheMouseHolds(mouse, block->profiles[1], 2);
}

void SettingsPages::SeeTheMouseSensitivityOnTheSliders(const VirtualMouseSession& mouse) {
    // A sensitivity change made on the mouse shows on the sliders at once:
    // X 20 lies past the slider's range and is shown at its end.
    ASSERT_EQ(mouse.Command("/event sensitivity:20,3"), 0);
    EXPECT_TRUE(e2e::WaitUntil([&] {
        return ThumbLeft(kAdvancedPage, 202) == ThumbLeftFor(kAdvancedPage, 202, 20, 1, 11) &&
               ThumbLeft(kAdvancedPage, 203) == ThumbLeftFor(kAdvancedPage, 203, 3, 1, 11);
    })) << "sensitivity thumbs at "
        << ThumbLeft(kAdvancedPage, 202) << ", " << ThumbLeft(kAdvancedPage, 203);
}

void SettingsPages::EditAndSwitchProfiles(const settings::ProfileRecord& first,
                                          const settings::ProfileRecord& second) {
    // Then unsaved edits on this profile (trails off, auto-repeat 103,
    // pointer speed 1), and a switch to the first profile and back: each
    // shows its own values, the mouse's sensitivity and the edits included.
    Press(kAdvancedPage, kTrails);
    Slide(kAdvancedPage, 201, 88);  // 2 + 88 x 253 / 220 = 103.2 -> 103
    Slide(kAdvancedPage, 204, 0);   // 1
    WaitForSlidesQueued();
    settings::ProfileRecord edited = second;
    edited.Sensitivity_X = 20;
    edited.Sensitivity_Y = 3;
    edited.OTGSpeed = 103;
    edited.bMouseTrails = 0;
    const Shown secondShown = ShownFor(edited, 1);
    const Shown firstShown = ShownFor(first, 10);
    SetForegroundWindow(option_.Window());
    std::string differs;
    auto shows = [&](const Shown& want) {
        return e2e::WaitUntil([&] { return (differs = Mismatches(want)).empty(); });
    };
    EXPECT_TRUE(shows(secondShown)) << "second profile before the switch: " << differs;
    option_.Click(kKeyProfile1);
    EXPECT_TRUE(shows(firstShown)) << "first profile: " << differs;
    option_.Click(kKeyProfile1 + 1);
    EXPECT_TRUE(shows(secondShown)) << "second profile again: " << differs;
}

void SettingsPages::CheckTheEditsAreKept() {
    // The record keeps the mouse's value that the slider shows clamped.
    const auto block = ApplyAndRead();
    ASSERT_EQ(block->currentProfile, 1);
    EXPECT_EQ(block->profiles[1].Sensitivity_X, 20);
    EXPECT_EQ(block->profiles[1].Sensitivity_Y, 3);
    EXPECT_EQ(block->profiles[1].OTGSpeed, 103);
    EXPECT_EQ(block->profiles[1].bMouseTrails, 0);
    EXPECT_EQ(block->profiles[1].MouseSpeed, 1);
}

TEST_F(SettingsPages, WhatTheUserSetsReachesTheMouseAndTheSystem) {
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    ASSERT_NO_FATAL_FAILURE(StartOverTheMouse(mouse));
    ASSERT_NO_FATAL_FAILURE(SetTheAdvancedPage());
    COLORREF pixel = CLR_INVALID;
    ASSERT_NO_FATAL_FAILURE(PickTheLedColours(pixel));
    ASSERT_NO_FATAL_FAILURE(SetTheLightingPage());

    const auto block = ApplyAndRead();
    // Apply was taken after the slider values, so the page shows them all.
    EXPECT_TRUE(option_.Screenshot("settings_page_lighting"));
    ASSERT_EQ(block->currentProfile, 0);
    ASSERT_NO_FATAL_FAILURE(CheckTheFirstProfile(block->profiles[0], pixel));
    ASSERT_NO_FATAL_FAILURE(ExpectTheMouseHolds(mouse, block->profiles[0], 1));
    ASSERT_NO_FATAL_FAILURE(CheckTheSystem());

    std::unique_ptr<settings::SettingsBlock> after;
    ASSERT_NO_FATAL_FAILURE(SetTheSecondProfile(mouse, after));
    ASSERT_NO_FATAL_FAILURE(SeeTheMouseSensitivityOnTheSliders(mouse));
    ASSERT_NO_FATAL_FAILURE(EditAndSwitchProfiles(block->profiles[0], after->profiles[1]));
    ASSERT_NO_FATAL_FAILURE(CheckTheEditsAreKept());
}

}  // namespace
