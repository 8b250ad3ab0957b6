// Whether another Monitor is running, told by its window: the one sign that a
// Monitor of any build gives every other program.
#pragma once

#include <windows.h>

namespace monitor {

// How long a start-up that finds the settings mutex looks for the window of
// the Monitor that made it. A Monitor shows its title from the first moment
// of window creation, so a running one is found at once; the wait covers a
// Monitor that is itself only starting.
inline constexpr DWORD kRunningMonitorWaitMs = 3000;

// True as soon as a window titled as Monitor's, other than `self`, exists;
// false when none has appeared within waitMs.
bool OtherMonitorWindowAppears(HWND self, DWORD waitMs);

// The window of the Monitor that holds the single-instance mutex, waited for
// as above (a Monitor started a moment earlier may not have made it yet);
// nullptr when none has appeared within waitMs.
HWND RunningMonitorWindow(DWORD waitMs);

}  // namespace monitor
