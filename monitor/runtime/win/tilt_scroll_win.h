// The window-system queries of tilt scrolling.
#pragma once

#include "monitor/runtime/tilt_scroll.h"

namespace runtime {

class WindowSystemWin final : public WindowSystem {
  public:
    ScreenPoint CursorPos() override;
    void SetCursorPos(ScreenPoint p) override;
    WindowHandle WindowFromPoint(ScreenPoint p) override;
    WindowHandle ChildFromPoint(WindowHandle parent, ScreenPoint p) override;
    std::string ClassName(WindowHandle w) override;
    WindowHandle Parent(WindowHandle w) override;
    WindowHandle FirstChild(WindowHandle w) override;
    WindowHandle NextSibling(WindowHandle w) override;
    WindowHandle PreviousSibling(WindowHandle w) override;
    ScreenRect WindowRect(WindowHandle w) override;
    std::uint32_t Style(WindowHandle w) override;
    WindowHandle Desktop() override;
    std::vector<WindowHandle> Descendants(WindowHandle w) override;
    void Post(WindowHandle w, unsigned message, std::uintptr_t wParam,
              std::intptr_t lParam) override;
    bool ButtonsSwapped() override;
};

}  // namespace runtime
