#include "monitor/runtime/win/runtime_bundle_win.h"

#include <utility>

namespace runtime {

RuntimeBundleWin::RuntimeBundleWin(HWND window, std::string configIni, MonitorHost& host,
                                   FunctionKeyTranslator::Function keyFunction,
                                   std::function<bool()> scheduleOsdFlush)
    : keys_(keyFunction),
      timers_(window),
      osdWin_(std::move(configIni)),
      osd_(osdWin_, std::move(scheduleOsdFlush)),
      media_(window),
      runtime_(
          {host, input_, clock_, keys_, timers_, debug_, osd_, media_, windows_, foreground_}) {}

}  // namespace runtime
