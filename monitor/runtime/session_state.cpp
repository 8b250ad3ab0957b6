#include "monitor/runtime/session_state.h"

namespace runtime {

SessionReaction SessionState::On(SessionEvent event, bool atConsoleNow, std::uint64_t nowMs) {
    SessionReaction reaction;
    switch (event) {
        case SessionEvent::Suspend:
            if (suspended_)
                break;
            suspended_ = true;
            resumed_ = false;
            reaction.releaseKeys = true;
            reaction.abortUpload = true;
            break;
        case SessionEvent::Resume:
            // The system may send both resume notices, or only one of them
            // (a sleep forced on a low battery has no suspend notice at all):
            // the first one after a suspend, or the first one ever, counts,
            // and so does one long after the last (a second sleep that had
            // no suspend notice either).
            if (resumed_ && !suspended_ && nowMs - resumedAtMs_ < kSameWakeUpMs)
                break;
            suspended_ = false;
            resumed_ = true;
            resumedAtMs_ = nowMs;
            reaction.reopenChannels = true;
            // Away from the console the mouse is someone else's; it gets its
            // configuration when the session comes back.
            reaction.fullUpload = atConsole_;
            break;
        case SessionEvent::Lock:
            if (locked_)
                break;
            locked_ = true;
            reaction.releaseKeys = true;
            break;
        case SessionEvent::Unlock:
            locked_ = false;
            if (!atConsole_ && atConsoleNow)
                reaction = BackAtConsole();
            break;
        case SessionEvent::ConsoleConnect:
            if (!atConsole_)
                reaction = BackAtConsole();
            break;
        case SessionEvent::ConsoleDisconnect:
        case SessionEvent::RemoteConnect:
            if (atConsole_)
                reaction = Away();
            break;
    }
    return reaction;
}

SessionReaction SessionState::Away() {
    atConsole_ = false;
    SessionReaction reaction;
    reaction.releaseKeys = true;
    reaction.abortUpload = true;
    return reaction;
}

SessionReaction SessionState::BackAtConsole() {
    atConsole_ = true;
    SessionReaction reaction;
    // Whatever the other session did with the mouse is undone; asleep, the
    // resume does it.
    reaction.fullUpload = !suspended_;
    return reaction;
}

}  // namespace runtime
