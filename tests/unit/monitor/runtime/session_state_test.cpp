#include "monitor/runtime/session_state.h"

#include <gtest/gtest.h>

namespace runtime {
namespace {

using E = SessionEvent;

SessionReaction Reaction(bool release, bool abort, bool reopen, bool full) {
    SessionReaction r;
    r.releaseKeys = release;
    r.abortUpload = abort;
    r.reopenChannels = reopen;
    r.fullUpload = full;
    return r;
}
const SessionReaction kNothing{};
const SessionReaction kLetGo = Reaction(true, false, false, false);
const SessionReaction kStopEverything = Reaction(true, true, false, false);
const SessionReaction kFullUpload = Reaction(false, false, false, true);
const SessionReaction kReopenAndUpload = Reaction(false, false, true, true);

TEST(SessionStateTest, EverySleepEndsInOneResumeWhicheverNoticesCome) {
    SessionState s;
    EXPECT_TRUE(s.ActionsRun());
    EXPECT_EQ(s.On(E::Suspend), kStopEverything);
    EXPECT_FALSE(s.ActionsRun());
    EXPECT_FALSE(s.UploadsAllowed());
    EXPECT_EQ(s.On(E::Suspend), kNothing) << "a repeated suspend notice";
    // Both resume notices of one wake-up: one reopening, one upload.
    EXPECT_EQ(s.On(E::Resume), kReopenAndUpload);
    EXPECT_EQ(s.On(E::Resume), kNothing);
    EXPECT_TRUE(s.ActionsRun());
    EXPECT_TRUE(s.UploadsAllowed());
    // The next sleep resumes again.
    s.On(E::Suspend);
    EXPECT_EQ(s.On(E::Resume), kReopenAndUpload);

    // A sleep forced without a suspend notice: the first resume still counts.
    SessionState forced;
    const std::uint64_t t0 = 5'000'000;
    EXPECT_EQ(forced.On(E::Resume, true, t0), kReopenAndUpload);
    EXPECT_EQ(forced.On(E::Resume, true, t0 + 2'000), kNothing);
    // Another such sleep, hours later, is another wake-up.
    EXPECT_EQ(forced.On(E::Resume, true, t0 + 3'600'000), kReopenAndUpload);
}

TEST(SessionStateTest, LockHoldsTheActionsButNotTheMouse) {
    SessionState s;
    EXPECT_EQ(s.On(E::Lock), kLetGo);
    EXPECT_FALSE(s.ActionsRun());
    EXPECT_TRUE(s.UploadsAllowed());
    EXPECT_EQ(s.On(E::Lock), kNothing);
    // Unlocked at the console that never changed: no upload.
    EXPECT_EQ(s.On(E::Unlock), kNothing);
    EXPECT_TRUE(s.ActionsRun());
    // Woken up to the lock screen: the mouse gets its settings at once, the
    // actions still wait for the unlock.
    s.On(E::Lock);
    s.On(E::Suspend);
    EXPECT_EQ(s.On(E::Resume), kReopenAndUpload);
    EXPECT_FALSE(s.ActionsRun());
    EXPECT_EQ(s.On(E::Unlock), kNothing);
    EXPECT_TRUE(s.ActionsRun());
}

TEST(SessionStateTest, AwayFromTheConsoleNothingRunsUntilTheConsoleComesBack) {
    for (const E away : {E::ConsoleDisconnect, E::RemoteConnect}) {
        SessionState s;
        EXPECT_EQ(s.On(away), kStopEverything);
        EXPECT_FALSE(s.ActionsRun());
        EXPECT_FALSE(s.UploadsAllowed());
        EXPECT_EQ(s.On(E::RemoteConnect), kNothing);
        // Locked and unlocked from elsewhere: still away.
        EXPECT_EQ(s.On(E::Lock), kLetGo);
        EXPECT_EQ(s.On(E::Unlock, false), kNothing);
        EXPECT_FALSE(s.ActionsRun());
        // A wake-up away reopens the channels but sends nothing.
        s.On(E::Suspend);
        EXPECT_EQ(s.On(E::Resume), Reaction(false, false, true, false));
        EXPECT_FALSE(s.UploadsAllowed());
        // Back: one full upload, then actions as usual.
        EXPECT_EQ(s.On(E::ConsoleConnect), kFullUpload);
        EXPECT_EQ(s.On(E::ConsoleConnect), kNothing);
        EXPECT_TRUE(s.ActionsRun());
        EXPECT_TRUE(s.UploadsAllowed());
    }
    // The unlock that finds the console again also brings the session back.
    SessionState s;
    s.On(E::ConsoleDisconnect);
    s.On(E::Lock);
    EXPECT_EQ(s.On(E::Unlock, true), kFullUpload);
    EXPECT_TRUE(s.ActionsRun());
    // Asleep when the console comes back: the resume uploads.
    s.On(E::ConsoleDisconnect);
    s.On(E::Suspend);
    EXPECT_EQ(s.On(E::ConsoleConnect), kNothing);
    EXPECT_EQ(s.On(E::Resume), kReopenAndUpload);
}

TEST(SessionStateTest, StartedAwayFromTheConsoleWaitsForIt) {
    SessionState s(false);
    EXPECT_FALSE(s.ActionsRun());
    EXPECT_FALSE(s.UploadsAllowed());
    EXPECT_EQ(s.On(E::ConsoleConnect), kFullUpload);
    EXPECT_TRUE(s.ActionsRun());
}

}  // namespace
}  // namespace runtime
