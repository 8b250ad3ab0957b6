// Monitor through a computer's day: sleep and wake-up with a mouse that
// forgot its settings, the session locked and taken away from the console,
// and the session's end. The system's own messages go to Monitor's real
// window; the test looks at what the mouse holds and at the keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/harness/input_recorder_win.h"
#include "tests/e2e/runtime/runtime_fixture_win.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using Records = std::vector<std::string>;

bool Has(const std::vector<InputEvent>& keys, const std::string& entry) {
    for (const std::string& t : KeyTrace(keys))
        if (t == entry)
            return true;
    return false;
}

class PcDayE2E : public RuntimeE2E {
  protected:
    // The mouse's log from record `from` on.
    Records LogFrom(std::size_t from) const {
        const Records all = mouse_->Log();
        return from < all.size()
                   ? Records(all.begin() + static_cast<std::ptrdiff_t>(from), all.end())
                   : Records{};
    }
    int FullUploads(const Records& records) const {
        return VirtualMouseSession::CountPrefix(VirtualMouseSession::Commands(records), "0D 05");
    }
    // Sends a system message as the system would: to the window, waiting
    // for the answer.
    LRESULT Tell(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutA(MonitorWindow(), message, wParam, lParam, SMTO_NORMAL, 20000,
                                      &answer),
                  0)
            << "message " << message;
        return static_cast<LRESULT>(answer);
    }
    // Job 3 runs behind every job queued before it: once the mouse has had
    // this selection, an upload wrongly queued earlier would have shown.
    void SelectProfileAndWait(int profileIndex, std::size_t from) {
        Inject("profile:" + std::to_string(profileIndex + 1));
        const std::string selection = "02 0" + std::to_string(profileIndex + 1);
        ASSERT_TRUE(WaitUntil([&] {
            return VirtualMouseSession::CountPrefix(VirtualMouseSession::Commands(LogFrom(from)),
                                                    selection) > 0;
        }));
    }
};

TEST_F(PcDayE2E, WakeUpAfterTheMouseForgotItsSettingsGivesOneFullUploadLikeAColdStart) {
    SetKeyCombination(0, 3, kCodeA, 0);
    SetMacro(2, 6, {{kCodeB, 1, 10}, {kCodeB, 2, 10}}, 2);
    Profile(1).CpiStep = 3;
    Start();
    ASSERT_TRUE(WaitUntil([&] { return VirtualMouseSession::FullUploadDone(mouse_->Log()); }, 45s));
    const std::string coldStart = Dump();
    ASSERT_FALSE(coldStart.empty());

    // Asleep, the mouse lost power: it holds nothing any more, and no
    // removal was told.
    ASSERT_EQ(VirtualMouse("/reset"), 0);
    ASSERT_NE(Dump(), coldStart) << "the reset left the mouse as it was";
    const std::size_t beforeSleep = mouse_->Log().size();
    EXPECT_EQ(Tell(WM_POWERBROADCAST, PBT_APMSUSPEND), TRUE);
    // Both notices of one wake-up.
    EXPECT_EQ(Tell(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC), TRUE);
    EXPECT_EQ(Tell(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND), TRUE);

    ASSERT_TRUE(
        WaitUntil([&] { return VirtualMouseSession::FullUploadDone(LogFrom(beforeSleep)); }, 45s))
        << "no full upload after the wake-up";
    const Records wake = LogFrom(beforeSleep);
    EXPECT_EQ(VirtualMouseSession::CountPrefix(wake, "CLOSE_REPORT"), 1);
    EXPECT_GE(VirtualMouseSession::CountPrefix(wake, "OPEN_REPORT"), 1);
    // The channels were opened again before anything was sent.
    const auto opened = std::find(wake.begin(), wake.end(), "OPEN_REPORT");
    const auto firstReport = std::find_if(
        wake.begin(), wake.end(), [](const std::string& r) { return r.rfind("FEATURE", 0) == 0; });
    EXPECT_LT(opened - wake.begin(), firstReport - wake.begin());
    EXPECT_EQ(Dump(), coldStart) << "the mouse does not hold what a cold start gives it";

    ASSERT_NO_FATAL_FAILURE(SelectProfileAndWait(1, beforeSleep));
    EXPECT_EQ(FullUploads(LogFrom(beforeSleep)), 1) << "one wake-up, one full upload";

    // A replug quicker than any poll (a hub cycling its port) with a mouse
    // that came back empty is a replug all the same.
    ASSERT_NO_FATAL_FAILURE(SelectProfileAndWait(0, beforeSleep));
    ASSERT_EQ(VirtualMouse("/reset"), 0);
    const std::size_t beforeReplug = mouse_->Log().size();
    ASSERT_EQ(VirtualMouse("/unplug /plug"), 0);
    ASSERT_TRUE(
        WaitUntil([&] { return VirtualMouseSession::FullUploadDone(LogFrom(beforeReplug)); }, 45s))
        << "no full upload after the replug";
    EXPECT_EQ(Dump(), coldStart) << "the mouse does not hold what a cold start gives it";
    ASSERT_NO_FATAL_FAILURE(SelectProfileAndWait(1, beforeReplug));
    EXPECT_EQ(FullUploads(LogFrom(beforeReplug)), 1) << "one replug, one full upload";
}

TEST_F(PcDayE2E, AwayFromTheConsoleNothingRunsAndComingBackUploadsOnce) {
    SetKeyCombination(0, 3, kCodeA, 0);
    SetMacro(0, 4, {{kCodeB, 1, 10}, {kCodeB, 2, 10}});
    ASSERT_TRUE(folder_.AddTestProgram("standin_program.exe", "Launched.exe"));
    Button(0, 7).actionCode = settings::action::kLaunchProgram;
    settings::CopyField(Button(0, 7).programPath, folder_.File("Launched.exe").c_str());
    Start();
    ASSERT_TRUE(WaitUntil([&] { return VirtualMouseSession::FullUploadDone(mouse_->Log()); }, 45s));
    InputRecorder input;
    ASSERT_TRUE(input.Installed());

    // Locked with a key held: the key goes up, and presses wait for the unlock.
    Inject("press:3");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return Has(e, "+41"); }));
    Tell(WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK);
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return Has(e, "-41"); }))
        << "locking left the key down";
    input.Clear();
    Inject("release:3");
    Inject("press:4");
    Settle();
    EXPECT_TRUE(input.Keys().empty()) << KeyTrace(input.Keys()).size() << " keys while locked";
    const std::size_t beforeUnlock = mouse_->Log().size();
    Tell(WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK);
    Inject("press:3");
    Inject("release:3");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return Has(e, "-41"); }))
        << "actions did not come back with the unlock";

    // Another user has the console: no keys, no macro, no program, no
    // profile switch, nothing sent to the mouse.
    Tell(WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT);
    input.Clear();
    const std::size_t away = mouse_->Log().size();
    Inject("press:3");
    Inject("press:4");
    Inject("release:4");
    Inject("launch:7");
    Inject("profile:3");
    PostMessageA(MonitorWindow(), 1224, 0, 0);  // an Apply
    // A program wrongly started would have written its line by now.
    Settle(1500ms);
    EXPECT_TRUE(input.Keys().empty()) << KeyTrace(input.Keys()).size() << " keys away";
    EXPECT_FALSE(folder_.Exists("started.log"));
    EXPECT_EQ(VirtualMouseSession::Commands(LogFrom(away)), Records{})
        << "something was sent to the mouse while away";
    auto shared = std::make_unique<settings::SettingsBlock>();
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->currentProfile, 0) << "the profile switched while away";

    // Back: one full upload, then actions as usual.
    Tell(WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT);
    ASSERT_TRUE(WaitUntil([&] { return VirtualMouseSession::FullUploadDone(LogFrom(away)); }, 45s));
    Inject("press:3");
    Inject("release:3");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return Has(e, "-41"); }));
    ASSERT_NO_FATAL_FAILURE(SelectProfileAndWait(1, away));
    EXPECT_EQ(FullUploads(LogFrom(away)), 1);
    EXPECT_EQ(FullUploads(LogFrom(beforeUnlock)), 1) << "a plain unlock uploads nothing";
}

TEST_F(PcDayE2E, SessionEndLetsGoOfAHeldKeyAtOnceAndMonitorEnds) {
    std::optional<InputRecorder> input;
    ASSERT_NO_FATAL_FAILURE(StartHoldingCtrlA(input));

    EXPECT_EQ(Tell(WM_QUERYENDSESSION, 0), TRUE) << "Monitor holds the session's end up";
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(SendNotifyMessageA(MonitorWindow(), WM_ENDSESSION, TRUE, 0));
    EXPECT_TRUE(input->WaitFor([](const auto& e) { return Has(e, "-41") && Has(e, "-11"); }, 500ms))
        << "the held keys were not let go within 500 ms";
    EXPECT_EQ(monitor_.WaitExit(10s), 0);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - sent);
    std::printf("session end: Monitor ended %lld ms after WM_ENDSESSION\n",
                static_cast<long long>(took.count()));
}

// The tray's Exit while an upload runs: the upload stops at once, nothing
// more reaches the mouse, and Monitor ends as quickly as a quiet one (a
// join that waited for the upload would take its whole 6.7 s).
TEST_F(PcDayE2E, ExitInTheMiddleOfAnUploadEndsAtOnceAndSendsNothingMore) {
    Start();
    ASSERT_TRUE(WaitUntil([&] { return VirtualMouseSession::FullUploadDone(mouse_->Log()); }, 45s));
    const std::size_t before = mouse_->Log().size();
    ASSERT_EQ(VirtualMouse("/reset"), 0);
    Tell(WM_POWERBROADCAST, PBT_APMSUSPEND);
    Tell(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
    ASSERT_TRUE(WaitUntil([&] {
        return VirtualMouseSession::CountPrefix(VirtualMouseSession::Commands(LogFrom(before)),
                                                "01 88") >= 2;
    }));
    const auto asked = std::chrono::steady_clock::now();
    PostMessageA(MonitorWindow(), WM_COMMAND, 6002, 0);
    ASSERT_EQ(monitor_.WaitExit(20s), 0);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - asked);
    std::printf("exit during an upload: %lld ms\n", static_cast<long long>(took.count()));
    EXPECT_LT(took, 1500ms);
    const Records atExit = mouse_->Log();
    EXPECT_EQ(FullUploads(LogFrom(before)), 0) << "the upload ran on after the Exit";
    ObserveFor(300ms);
    EXPECT_EQ(mouse_->Log().size(), atExit.size()) << "reports after Monitor ended";
}

}  // namespace
}  // namespace e2e
