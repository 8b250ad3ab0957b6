// What the computer's day does to Monitor: sleep and wake, the screen locked
// and unlocked, the session taken away from the console (another user at the
// keyboard, a remote connection) and given back. The window translates the
// system's notices into these events; this decides whether button actions
// run, whether anything may be sent to the mouse, and what has to happen now.
#pragma once

#include <cstdint>

namespace runtime {

enum class SessionEvent {
    Suspend,            // the computer goes to sleep
    Resume,             // it woke up (either notice; repeats of one wake-up count once)
    Lock,               // the session's screen was locked
    Unlock,             // unlocked (the console is looked at again then)
    ConsoleConnect,     // the session is the console's again
    ConsoleDisconnect,  // the console went to another session
    RemoteConnect,      // the session is used from another computer
};

// What the window has to do at once for one event.
struct SessionReaction {
    // Stop a playing macro and the key repeats, let go of every key held.
    bool releaseKeys = false;
    // The running upload stops at its next wait.
    bool abortUpload = false;
    // The mouse may have lost power or been swapped meanwhile: close and
    // reopen the library's channels before anything is sent.
    bool reopenChannels = false;
    // The mouse gets its whole configuration again (once it answers).
    bool fullUpload = false;
    bool operator==(const SessionReaction&) const = default;
};

class SessionState {
  public:
    // `atConsole`: whether the session Monitor starts in is the console's.
    explicit SessionState(bool atConsole = true) : atConsole_(atConsole) {}

    // The two resume notices of one wake-up come within this of each other;
    // a resume later than that is another wake-up, even with no suspend
    // notice between them.
    static constexpr std::uint64_t kSameWakeUpMs = 30'000;

    // `atConsoleNow`: the console as looked up when the event came (only
    // Unlock uses it: an unlock after a console change tells where it is).
    // `nowMs`: a steady clock, for telling wake-ups apart.
    SessionReaction On(SessionEvent event, bool atConsoleNow = true, std::uint64_t nowMs = 0);

    // Button actions (keys, macros, programs, media, profile switches) run.
    bool ActionsRun() const { return atConsole_ && !locked_ && !suspended_; }
    // Reports may go to the mouse.
    bool UploadsAllowed() const { return atConsole_ && !suspended_; }
    bool AtConsole() const { return atConsole_; }
    bool Suspended() const { return suspended_; }
    bool Locked() const { return locked_; }

  private:
    SessionReaction Away();
    SessionReaction BackAtConsole();

    bool atConsole_;
    bool locked_ = false;
    bool suspended_ = false;
    // The last power notice was a resume: the second notice of the same
    // wake-up changes nothing.
    bool resumed_ = false;
    std::uint64_t resumedAtMs_ = 0;
};

}  // namespace runtime
