// The messages Monitor's window posts to itself or is sent by another Monitor:
// the WM_APP range is its own,
// and every number of it is given here, once.
#pragma once

#include <windows.h>

namespace runtime {

enum MonitorMessage : UINT {
    // The one way back to the window thread: runs the oldest call queued in
    // the window's PostedCalls (common/posted_calls.h).
    kMsgPostedCall = WM_APP + 1,
    // From a second Monitor started with a command (or from Monitor itself at
    // start): wParam the command (CommandKind::Profile or CommandKind::Apply),
    // lParam the profile index; the result is a runtime::CommandResult. Sent,
    // never posted, between processes: the sender waits for the answer.
    kMsgRunCommand = WM_APP + 16,
};

}  // namespace runtime
