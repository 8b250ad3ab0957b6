// The window every page of the main window starts from: an empty child
// dialog (template 131) moved into the page area and hidden. Each page then
// skins it from its own description file.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "option/skin/skin_loader_win.h"

namespace option {

// Creates the empty page child in `parent`, moved to `area` (parent client
// coordinates) and hidden; null on failure.
HWND CreatePageWindow(HWND parent, const RECT& area);

// Skins the page window `page` from `skinFile` (its controls made by `make`
// for each row of `controls`), gives it the skin's outline and puts it back at
// `area`, where the skin recipe's move to (0, 0) took it from.
void SkinPage(HWND page, const RECT& area, skin::SkinSurface& surface, const std::string& skinFile,
              std::span<const skin::ControlRow> controls, const skin::RowMaker& make);

// Enter and Escape, which would end the page's dialog: a page never closes
// itself, so it swallows them.
constexpr bool ClosesPage(UINT key) {
    return key == VK_RETURN || key == VK_ESCAPE;
}

}  // namespace option
