// The window every page of the main window starts from: an empty child
// dialog (template 131) moved into the page area and hidden. Each page then
// skins it from its own description file.
#pragma once

#include <windows.h>

namespace option {

// Creates the empty page child in `parent`, moved to `area` (parent client
// coordinates) and hidden; null on failure.
HWND CreatePageWindow(HWND parent, const RECT& area);

}  // namespace option
