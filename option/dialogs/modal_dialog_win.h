// Running a dialog template modally with one of our window classes taking
// the dialog window over as it is created, so that its WM_CREATE and
// WM_INITDIALOG already run through the class's message map.
#pragma once

#include <windows.h>

#include "common/win/window.h"

namespace option {

// Runs template `templateId` of Option.exe modally, owned by `owner` (may be
// null). Returns the value given to EndDialog, -1 when the dialog could not
// be created.
INT_PTR RunModalDialog(win::Window& window, HWND owner, int templateId);

// Moves `hwnd` so that its centre is that of `over` (the work area when
// `over` is null), kept inside the work area.
void CentreWindow(HWND hwnd, HWND over);

}  // namespace option
