// Monitor's window thread and its upload thread do not wait on each other or
// on other programs: a hung media player holds up neither an Apply nor its
// upload, and the notice of a profile switched on the mouse comes once, after
// the mouse got the selection.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "common/trace_points.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/runtime/runtime_fixture_win.h"
#include "tests/support/hung_window_win.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

using testsupport::HungWindow;

TEST_F(RuntimeE2E, AHungMediaPlayerHoldsUpNeitherAnApplyNorItsUpload) {
    Profile(0).MediaOption = 3;  // Winamp
    HungWindow winamp("Winamp v1.x", "Winamp");
    ASSERT_NE(winamp.Hwnd(), nullptr);
    StandInWindow option(kOptionTitle);
    Start();
    ASSERT_TRUE(UploadBegun(25s));

    Inject("media:36");  // stop: a command sent to the player
    Inject("media:36");
    PostMessageA(MonitorWindow(), 1224, 0, 0);
    ASSERT_TRUE(option.WaitFor(1256, 1, 30s)) << "the Apply was not answered";
    // Answered by the upload thread, so the upload itself ran.
    EXPECT_TRUE(monitor_.WaitForDebugText(trace::kUploadDoneByThread, 1, 10s));
    // And device events still reach the window thread.
    Inject("profile:2");
    EXPECT_TRUE(option.WaitFor(1255, 1, 20s));
}

TEST_F(RuntimeE2E, ProfileNoticeComesOnceAfterTheMouseGotTheSelection) {
    osd_.showProfile = 1;
    StandInWindow osd(kOsdTitle);
    Start();
    ASSERT_TRUE(UploadBegun(25s));

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
