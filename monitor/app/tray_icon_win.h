// Monitor's one notification-area icon and its popup menu.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"

namespace monitor {

class TrayIcon {
  public:
    ~TrayIcon();
    // Adds the icon (id kTrayIconId, callback kMsgTrayNotify) with the executable's small icon.
    bool Add(HWND owner, const std::string& tip);
    void Remove();
    bool Shown() const { return shown_; }

  private:
    HWND owner_ = nullptr;
    win::ScopedIcon icon_;
    bool shown_ = false;
};

// Shows the tray menu at the cursor: open (default item), separator, exit.
void ShowTrayMenu(HWND owner, const std::string& openText, const std::string& exitText);

}  // namespace monitor
