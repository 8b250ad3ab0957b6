// The display program's window: hidden, titled so that Monitor finds it, and
// the receiver of every notice Monitor posts.
//
//   kMsgOsdNotice, wParam 40: the profile in the high word of lParam (number and name)
//   kMsgOsdNotice, wParam 50: the text now in [OSDData] Message of config.ini
//   kMsgOsdNotice, wParam 70: the macro in [MacroOSD] Number and MacroName
//   kMsgDeviceArrival: the two display values (see display_options.h)
//   WM_CLOSE: the program ends
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "common/win/window.h"
#include "osd/display_options.h"
#include "osd/notice_window_win.h"
#include "osd/osd_files_win.h"

namespace osd {

class COsdWnd : public win::WindowImpl<COsdWnd> {
  public:
    ~COsdWnd() override { DestroyWindowNow(); }
    explicit COsdWnd(std::string programFolder) : files_(std::move(programFolder)) {}

    // The hidden window and the notice popup; false when either failed.
    bool CreateHidden();

    static std::span<const win::MessageRow<COsdWnd>> MessageMap();
    void OnNotice(win::WParam<WPARAM> kind, win::LParam<LPARAM> data);
    void OnSettingsChanged(win::LParam<LPARAM> values);
    void OnClose();
    void OnDestroy();

  private:
    OsdFiles files_;
    DisplayOptions options_;
    NoticeWindow notice_;
};

}  // namespace osd
