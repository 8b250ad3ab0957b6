// VantorOSD.exe as Monitor drives it: every notice shows its text on the
// screen without taking the foreground, goes away after its time, honours the
// display values, and the program ends on WM_CLOSE or with Monitor.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "common/settings/ini_file_win.h"
#include "common/settings/osd_settings.h"
#include "common/settings/settings_files.h"
#include "common/win/scoped_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/runtime/runtime_fixture_win.h"
#include "tests/support/artifacts_folder_win.h"
#include "tools/SkinGallery/gallery_window_win.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using e2e::Program;
using e2e::ProgramFolder;
using e2e::WaitUntil;

constexpr const char* kOsdTitle = "Professional Gaming Optical Mouse OSD";
constexpr const char* kNoticeClass = "VantorOSDNotice";
constexpr UINT kMsgNotice = 1324;
constexpr UINT kMsgDisplayValues = 1326;
constexpr int kEdgeMargin = 48;

HWND OsdWindow() {
    return FindWindowA(nullptr, kOsdTitle);
}

HWND NoticeWindow() {
    return FindWindowA(kNoticeClass, nullptr);
}

std::string NoticeText() {
    char text[512] = {};
    GetWindowTextA(NoticeWindow(), text, sizeof text);
    return text;
}

bool Showing(const std::string& text) {
    HWND notice = NoticeWindow();
    return notice != nullptr && IsWindowVisible(notice) && NoticeText() == text;
}

bool Hidden() {
    HWND notice = NoticeWindow();
    return notice == nullptr || !IsWindowVisible(notice);
}

BOOL CALLBACK CountIfNotice(HWND hwnd, LPARAM counter) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) == kNoticeClass)
        ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int CountNoticeWindows() {
    int count = 0;
    EnumWindows(CountIfNotice, reinterpret_cast<LPARAM>(&count));
    return count;
}

RECT NoticeRect() {
    RECT r{};
    GetWindowRect(NoticeWindow(), &r);
    return r;
}

RECT WorkAreaUnderPointer() {
    POINT pointer{};
    GetCursorPos(&pointer);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

// The notice's own pixels have reached the screen: its left edge, below the
// cut corner, is never black (the screen behind it is, under Xvfb).
bool DrawnOnScreen() {
    const RECT r = NoticeRect();
    win::ScopedWindowDc screen(nullptr);
    const COLORREF pixel = GetPixel(screen.Get(), r.left + 4, (r.top + r.bottom) / 2);
    return pixel != CLR_INVALID && pixel != RGB(0, 0, 0);
}

void Screenshot(const std::string& name) {
    EXPECT_TRUE(WaitUntil(DrawnOnScreen)) << name << ": the notice did not reach the screen";
    const std::string folder = testsupport::ArtifactsFolder("osd");
    if (folder.empty())
        return;
    EXPECT_TRUE(gallery::SaveWindowShot(NoticeWindow(), folder + name + ".bmp")) << name;
}

// A plain window of the test that holds the foreground, as a game would.
class ForegroundWindow {
  public:
    ForegroundWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "OsdTestForeground";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        RegisterClassA(&wc);
        hwnd_ = CreateWindowA("OsdTestForeground", "OSD test foreground", WS_OVERLAPPEDWINDOW, 200,
                              200, 500, 300, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
    }
    ~ForegroundWindow() { DestroyWindow(hwnd_); }
    HWND Hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

class OsdE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(OsdWindow(), nullptr) << "a display window is already open";
        settings::SystemSettingsFiles files(folder_.Path());
        auto block = std::make_unique<settings::SettingsBlock>();
        settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
        settings::CopyField(block->profiles[2].ProFileName, "Gamma");
        ASSERT_TRUE(settings::SaveAll(files.Files(), nullptr, *block));
    }
    void TearDown() override {
        if (HWND osd = OsdWindow())
            PostMessageA(osd, WM_CLOSE, 0, 0);
        osd_.WaitExit(10s);
        osd_.Kill();
    }

    void WriteConfig(const char* section, const char* key, const char* value) {
        ASSERT_TRUE(
            WritePrivateProfileStringA(section, key, value, folder_.File("config.ini").c_str()));
    }
    void WriteDisplayValues(std::int32_t first, std::int32_t second) {
        settings::SystemSettingsFiles files(folder_.Path());
        settings::OsdSettings record{};
        settings::ResetOsdSettings(record);
        record.displayValue1 = first;
        record.displayValue2 = second;
        ASSERT_TRUE(settings::SaveOsdSettings(files.Files(), record));
    }
    void Start() {
        ASSERT_TRUE(osd_.Start(folder_.File("VantorOSD.exe")));
        ASSERT_TRUE(WaitUntil([] { return OsdWindow() != nullptr && NoticeWindow() != nullptr; }))
            << "the display window did not appear";
    }
    void Post(UINT message, WPARAM wParam, LPARAM lParam) {
        ASSERT_TRUE(PostMessageA(OsdWindow(), message, wParam, lParam));
    }
    // Waits for the notice, then for its end; how long it was seen.
    std::chrono::milliseconds ShownFor(const std::string& text, const char* shot = nullptr) {
        EXPECT_TRUE(WaitUntil([&] { return Showing(text); }))
            << "expected \"" << text << "\", the notice says \"" << NoticeText() << "\"";
        const auto seen = Clock::now();
        if (shot != nullptr)
            Screenshot(shot);
        EXPECT_TRUE(WaitUntil(Hidden)) << text << " stayed on the screen";
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - seen);
    }

    ProgramFolder folder_;
    Program osd_;
};

TEST_F(OsdE2E, EachNoticeShowsItsTextAsideTheForegroundFadesAndTheProgramEndsOnClose) {
    WriteConfig("OSDData", "Message", "CPI: 720");
    WriteConfig("MacroOSD", "Number", "3");
    WriteConfig("MacroOSD", "MacroName", "Alpha");
    ForegroundWindow game;
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == game.Hwnd(); }));
    Start();
    ASSERT_TRUE(Hidden()) << "a notice is shown before any was asked for";

    Post(kMsgNotice, 40, 2 << 16);
    // Shown for the default hold of 1.5 s before it fades.
    EXPECT_GE(ShownFor("PROFILE 3: Gamma", "osd-profile"), 1400ms);
    EXPECT_EQ(GetForegroundWindow(), game.Hwnd());

    Post(kMsgNotice, 50, 0);
    ASSERT_TRUE(WaitUntil([] { return Showing("CPI: 720"); }));
    // Bottom centre of the monitor that holds the pointer, by default.
    const RECT work = WorkAreaUnderPointer();
    const RECT at = NoticeRect();
    EXPECT_EQ(at.bottom, work.bottom - kEdgeMargin);
    EXPECT_LE(std::abs((at.left + at.right) - (work.left + work.right)), 1);
    Screenshot("osd-cpi");
    EXPECT_EQ(GetForegroundWindow(), game.Hwnd());

    // The text is read when the notice comes, and a new notice replaces the
    // one on the screen at once.
    WriteConfig("OSDData", "Message", "You have 2 new mails");
    Post(kMsgNotice, 70, 0);
    ASSERT_TRUE(WaitUntil([] { return Showing("MACRO 3: Alpha"); }));
    Screenshot("osd-macro");
    Post(kMsgNotice, 50, 0);
    EXPECT_LT(ShownFor("NOTICE: You have 2 new mails", "osd-text"), 10s);
    EXPECT_EQ(CountNoticeWindows(), 1);
    EXPECT_EQ(GetForegroundWindow(), game.Hwnd());

    // Kinds and profiles it does not know show nothing and do no harm.
    Post(kMsgNotice, 41, 0);
    Post(kMsgNotice, 40, 9 << 16);
    Post(kMsgNotice, 40, 0);
    ASSERT_TRUE(WaitUntil([] { return Showing("PROFILE 1: Default1"); }));

    Post(WM_CLOSE, 0, 0);
    EXPECT_EQ(osd_.WaitExit(), 0);
    EXPECT_EQ(OsdWindow(), nullptr);
}

TEST_F(OsdE2E, DisplayValuesFromTheSettingsAndFromMonitorPlaceAndTimeTheNotice) {
    WriteDisplayValues(3, 0);  // top right, default time: saved by Option
    Start();
    Post(kMsgNotice, 40, 0);
    ASSERT_TRUE(WaitUntil([] { return Showing("PROFILE 1: Default1"); }));
    RECT work = WorkAreaUnderPointer();
    RECT at = NoticeRect();
    EXPECT_EQ(at.top, work.top + kEdgeMargin);
    EXPECT_EQ(at.right, work.right - kEdgeMargin);
    ASSERT_TRUE(WaitUntil(Hidden));

    // Monitor forwards new values after an Apply: top left, half a second.
    Post(kMsgDisplayValues, 0, (1 << 16) | 500);
    Post(kMsgNotice, 40, 1 << 16);
    ASSERT_TRUE(WaitUntil([] { return Showing("PROFILE 2: Default2"); }));
    at = NoticeRect();
    EXPECT_EQ(at.top, work.top + kEdgeMargin);
    EXPECT_EQ(at.left, work.left + kEdgeMargin);
    Screenshot("osd-top-left");
    // Half a second and the fade: gone before a notice of the default time
    // would even begin to fade.
    EXPECT_TRUE(WaitUntil(Hidden, 1500ms)) << "the shorter display time was not honoured";
}

// The whole road: the mouse switches profile, Monitor tells the display
// program it started, the notice names the profile.
class OsdThroughMonitor : public e2e::RuntimeE2E {};

TEST_F(OsdThroughMonitor, ProfileSwitchOnTheMouseShowsTheProfileNotice) {
    Osd().showProfile = 1;
    settings::CopyField(Profile(3).ProFileName, "Sniper");
    Start();
    ASSERT_TRUE(WaitUntil([] { return OsdWindow() != nullptr && NoticeWindow() != nullptr; }))
        << "Monitor did not start VantorOSD.exe";
    ForegroundWindow game;
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == game.Hwnd(); }));
    Inject("profile:4");
    ASSERT_TRUE(WaitUntil([] { return Showing("PROFILE 4: Sniper"); }))
        << "the notice says \"" << NoticeText() << "\"";
    Screenshot("osd-through-monitor");
    EXPECT_EQ(GetForegroundWindow(), game.Hwnd());

    // A Monitor that ends without its shut-down (killed, crashed) cannot ask
    // the display program to close; it ends with its starter all the same.
    monitor_.Kill();
    EXPECT_TRUE(WaitUntil([] { return OsdWindow() == nullptr; }))
        << "the display program outlived the Monitor that started it";
}

// At 150 and 200 % a notice is laid out as at 100 % and drawn that much
// larger, in its place at the bottom of the work area, as far from the edge
// as the scale makes the margin.
class OsdAtScale : public OsdE2E, public ::testing::WithParamInterface<int> {};

TEST_P(OsdAtScale, TheNoticeIsDrawnAtTheDisplaysScale) {
    const int dpi = GetParam();
    const e2e::SystemDpiSetting system(static_cast<DWORD>(dpi));
    WriteConfig("OSDData", "Message", "CPI: 720");
    Start();
    Post(kMsgNotice, 50, 0);
    ASSERT_TRUE(WaitUntil([] { return Showing("CPI: 720"); }));
    const RECT at = NoticeRect();
    EXPECT_EQ(at.bottom - at.top, MulDiv(84, dpi, 96));
    EXPECT_EQ(at.bottom, WorkAreaUnderPointer().bottom - MulDiv(kEdgeMargin, dpi, 96));
    Screenshot("osd-cpi-" + std::to_string(dpi * 100 / 96));
    // The profile notice's badge, for a look at its outline at this scale.
    Post(kMsgNotice, 40, 2 << 16);
    ASSERT_TRUE(WaitUntil([] { return Showing("PROFILE 3: Gamma"); }));
    Screenshot("osd-profile-" + std::to_string(dpi * 100 / 96));
}

INSTANTIATE_TEST_SUITE_P(SystemDpi, OsdAtScale, ::testing::Values(144, 192));

}  // namespace
