// Ending the modal dialogs that a window has open. When Monitor closes
// Option (device removed, Monitor ending) a dialog may be open over the main
// window, perhaps with the key capture hook running: each such dialog is told
// to close, which cancels it, so that Option really ends.
#pragma once

#include <windows.h>

namespace option {

// Sends WM_CLOSE to every dialog of the calling thread that `owner` owns,
// directly or through other owned windows, innermost first.
void CloseOwnedDialogs(HWND owner);

}  // namespace option
