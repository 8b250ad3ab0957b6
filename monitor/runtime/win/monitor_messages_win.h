// The messages Monitor's window posts to itself or is sent by another Monitor:
// the WM_APP range is its own,
// and every number of it is given here, once.
#pragma once

#include <windows.h>

namespace runtime {

enum MonitorMessage : UINT {
    // From the upload thread to the window: job 3 has told the mouse the
    // profile in wParam.
    kMsgProfileSelected = WM_APP + 1,
    // From the window to itself: apply the current profile's pointer settings
    // to the system, once for all the profile switches queued before it.
    kMsgApplySystemSettings = WM_APP + 2,
    // From the runtime: run FlushOsd behind the messages already queued.
    kMsgFlushOsd = WM_APP + 3,
    // From a second Monitor started with a command (or from Monitor itself at
    // start): wParam the command (CommandKind::Profile or CommandKind::Apply),
    // lParam the profile index; the result is a runtime::CommandResult. Sent,
    // never posted, between processes: the sender waits for the answer.
    kMsgRunCommand = WM_APP + 16,
};

}  // namespace runtime
