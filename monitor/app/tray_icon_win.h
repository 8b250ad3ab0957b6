// Monitor's one notification-area icon and its popup menu.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/win/scoped_win.h"

namespace monitor {

class TrayIcon {
  public:
    ~TrayIcon();
    // Adds the icon (id kTrayIconId, callback kMsgTrayNotify) with the executable's small icon.
    bool Add(HWND owner, const std::string& tip);
    void Remove();
    bool Shown() const { return shown_; }
    // A balloon notice on the icon; false when there is no icon to show it on.
    bool ShowBalloon(const std::string& title, const std::string& text, bool warning);
    // Texts are UTF-8.

  private:
    HWND owner_ = nullptr;
    win::ScopedIcon icon_;
    bool shown_ = false;
};

// One item of the tray menu; command 0 is a separator.
struct TrayMenuItem {
    unsigned command = 0;
    std::string text;
};

// Shows the tray menu at the cursor; the first item is the default (bold).
void ShowTrayMenu(HWND owner, const std::vector<TrayMenuItem>& items);

}  // namespace monitor
