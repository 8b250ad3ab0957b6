// Monitor's window thread and its upload thread do not wait on each other or
// on other programs: a hung media player holds up neither an Apply nor its
// upload, and the notice of a profile switched on the mouse comes once, after
// the mouse got the selection.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/runtime/runtime_fixture_win.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

// A player window whose thread stops pumping messages once the window exists,
// until the test ends.
class HungWindow {
  public:
    HungWindow(const char* className, const char* title)
        : release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, className, title, ready] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = className;
            RegisterClassA(&wc);
            hwnd_ = CreateWindowA(className, title, WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                  wc.hInstance, nullptr);
            SetEvent(ready);
            WaitForSingleObject(release_, INFINITE);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            DestroyWindow(hwnd_);
        });
        WaitForSingleObject(ready, INFINITE);
        CloseHandle(ready);
    }
    ~HungWindow() {
        SetEvent(release_);
        thread_.join();
        CloseHandle(release_);
    }
    HWND Hwnd() const { return hwnd_; }

  private:
    HANDLE release_;
    HWND hwnd_ = nullptr;
    std::thread thread_;
};

TEST_F(RuntimeE2E, AHungMediaPlayerHoldsUpNeitherAnApplyNorItsUpload) {
    Profile(0).MediaOption = 3;  // Winamp
    HungWindow winamp("Winamp v1.x", "Winamp");
    ASSERT_NE(winamp.Hwnd(), nullptr);
    StandInWindow option(kOptionTitle);
    Start();
    ASSERT_TRUE(WaitUntil(
        [&] { return folder_.ReadText("vm.log").find("FEATURE 0D 05 80") != std::string::npos; },
        25s));

    Inject("media:36");  // stop: a command sent to the player
    Inject("media:36");
    PostMessageA(MonitorWindow(), 1224, 0, 0);
    ASSERT_TRUE(option.WaitFor(1256, 1, 30s)) << "the Apply was not answered";
    // Answered by the upload thread, so the upload itself ran.
    EXPECT_TRUE(monitor_.WaitForDebugText("Thread Send Enable OK/Apply Button\n", 1, 10s));
    // And device events still reach the window thread.
    Inject("profile:2");
    EXPECT_TRUE(option.WaitFor(1255, 1, 20s));
}

TEST_F(RuntimeE2E, ProfileNoticeComesOnceAfterTheMouseGotTheSelection) {
    osd_.showProfile = 1;
    StandInWindow osd(kOsdTitle);
    Start();
    ASSERT_TRUE(WaitUntil(
        [&] { return folder_.ReadText("vm.log").find("FEATURE 0D 05 80") != std::string::npos; },
        25s));

    Inject("profile:3");
    ASSERT_TRUE(osd.WaitFor(1324, 1));
    EXPECT_NE(folder_.ReadText("vm.log").find("FEATURE 02 03 00"), std::string::npos)
        << "the notice came before the mouse was told the profile";
    // The next switch's notice marks the end of the first switch's: any
    // second notice of the first would have come before it.
    Inject("profile:4");
    ASSERT_TRUE(osd.WaitFor(1324, 2));
    EXPECT_NE(folder_.ReadText("vm.log").find("FEATURE 02 04 00"), std::string::npos);
    std::vector<LPARAM> notices;
    for (const Received& r : osd.All()) {
        if (r.message == 1324 && r.wParam == 40)
            notices.push_back(r.lParam);
    }
    EXPECT_EQ(notices, (std::vector<LPARAM>{2 * 65536, 3 * 65536}));
}

}  // namespace
}  // namespace e2e
