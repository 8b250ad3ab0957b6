// Monitor's runtime together with every Win32 adapter it needs, for the
// window to own as one object once its handle exists.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "monitor/runtime/coalescing_osd_channel.h"
#include "monitor/runtime/win/game_watch_win.h"
#include "monitor/runtime/win/media_players_win.h"
#include "monitor/runtime/monitor_runtime.h"
#include "monitor/runtime/win/osd_notices_win.h"
#include "monitor/runtime/win/runtime_input_win.h"
#include "monitor/runtime/win/tilt_scroll_win.h"

namespace runtime {

class RuntimeBundleWin {
  public:
    // window: Monitor's window (timers kTimerVolumeRepeat and kTimerKeyRepeat, app commands);
    // configIni: the full path of config.ini; keyFunction: device key code -> virtual key through
    // the current keyboard layout; scheduleOsdFlush: arranges for FlushOsd to run on the window
    // thread behind the messages already queued (false: it cannot, and the flush is done at once).
    RuntimeBundleWin(HWND window, std::string configIni, MonitorHost& host,
                     FunctionKeyTranslator::Function keyFunction,
                     std::function<bool()> scheduleOsdFlush);
    RuntimeBundleWin(const RuntimeBundleWin&) = delete;
    RuntimeBundleWin& operator=(const RuntimeBundleWin&) = delete;

    MonitorRuntime& Runtime() { return runtime_; }
    // The display program's held-back config.ini writes and notices are
    // done now.
    void FlushOsd() { osd_.Flush(); }

  private:
    InputSinkWin input_;
    ClockWin clock_;
    FunctionKeyTranslator keys_;
    TimerControlWin timers_;
    DebugOutputWin debug_;
    OsdChannelWin osdWin_;
    CoalescingOsdChannel osd_;
    MediaHostWin media_;
    WindowSystemWin windows_;
    ForegroundQueryWin foreground_;
    MonitorRuntime runtime_;
};

}  // namespace runtime
