#include "monitor/runtime/win/runtime_bundle_win.h"

#include "monitor/runtime/win/monitor_messages_win.h"

namespace runtime {

RuntimeBundleWin::RuntimeBundleWin(HWND window, std::string configIni, MonitorHost& host,
                                   FunctionKeyTranslator::Function keyFunction)
    : keys_(keyFunction),
      timers_(window),
      osdWin_(std::move(configIni)),
      osd_(osdWin_, [window] { return PostMessageA(window, kMsgFlushOsd, 0, 0) != FALSE; }),
      media_(window),
      runtime_(
          {host, input_, clock_, keys_, timers_, debug_, osd_, media_, windows_, foreground_}) {}

}  // namespace runtime
