// What the main window needs from each of its four pages. Each page is its
// own skinned child window class with its own message map; the main window
// only creates, shows and refreshes them.
#pragma once

#include <windows.h>

#include <memory>
#include <span>

#include "option/skin/control_table.h"

namespace option {

class PageHost;

class OptionPage {
  public:
    virtual ~OptionPage() = default;

    // Creates the page as a hidden child of `parent`, moved to `area`
    // (parent client coordinates). False when the window was not made.
    virtual bool Create(HWND parent, const RECT& area) = 0;
    virtual HWND Window() const = 0;
    virtual void Show(bool visible) { ShowWindow(Window(), visible ? SW_SHOW : SW_HIDE); }
    // Shows the edit block's current profile.
    virtual void Refresh() {}
    // The page's control table, whose Tab walk the main window's takes in.
    virtual std::span<const skin::ControlRow> Controls() const = 0;
};

// Page `index` (0 buttons, 1 lighting, 2 advanced settings, 3 support; null
// for any other index) of `host`'s page frame.
std::unique_ptr<OptionPage> MakePage(int index, PageHost& host);

}  // namespace option
