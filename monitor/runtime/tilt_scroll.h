// Horizontal scrolling on wheel tilt: finds the horizontal scroll bar that
// belongs to the window under the pointer and drives it, with special cases
// for a few well-known window classes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/runtime/runtime_ports.h"

namespace runtime {

using WindowHandle = std::uintptr_t;

struct ScreenPoint {
    int x = 0;
    int y = 0;
};
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The window-system queries the search uses; handles are 0 for none.
class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    virtual ScreenPoint CursorPos() = 0;
    virtual void SetCursorPos(ScreenPoint p) = 0;
    virtual WindowHandle WindowFromPoint(ScreenPoint p) = 0;
    // The child of parent at the screen point, parent itself when the point
    // is in no child, 0 when the point is outside parent.
    virtual WindowHandle ChildFromPoint(WindowHandle parent, ScreenPoint p) = 0;
    virtual std::string ClassName(WindowHandle w) = 0;
    virtual WindowHandle Parent(WindowHandle w) = 0;
    virtual WindowHandle FirstChild(WindowHandle w) = 0;
    virtual WindowHandle NextSibling(WindowHandle w) = 0;
    virtual WindowHandle PreviousSibling(WindowHandle w) = 0;
    virtual ScreenRect WindowRect(WindowHandle w) = 0;
    virtual std::uint32_t Style(WindowHandle w) = 0;
    virtual WindowHandle Desktop() = 0;
    // Every descendant of w, in enumeration order.
    virtual std::vector<WindowHandle> Descendants(WindowHandle w) = 0;
    virtual void Post(WindowHandle w, unsigned message, std::uintptr_t wParam,
                      std::intptr_t lParam) = 0;
    virtual bool ButtonsSwapped() = 0;
};

inline constexpr std::uint32_t kStyleHScroll = 0x00100000;  // WS_HSCROLL
inline constexpr unsigned kWmHScroll = 0x0114;
inline constexpr int kProximityPx = 25;
inline constexpr int kSpreadsheetInsetPx = 5;

// Target mode by the class name of the window under the pointer.
struct TiltMode {
    int mode = 0;
    bool keyPress = false;  // mode 0 driven by arrow keys
};
TiltMode TiltModeForClass(const std::string& className);

class TiltScroller {
  public:
    TiltScroller(WindowSystem& windows, InputSink& input) : windows_(windows), input_(input) {}

    // One tilt notch; steps = TiltSpeed of the current profile.
    void ScrollNotch(bool right, int steps);

    // Parts of the search, open for tests.
    bool Eligible(WindowHandle w);
    bool PassesHorizontalTest(WindowHandle s, ScreenPoint p);
    WindowHandle SiblingSearch(WindowHandle s, ScreenPoint p);
    WindowHandle ChildSearch(WindowHandle s, ScreenPoint p);
    // The scroll bar H for the window W under P (0 when there is none); c
    // receives the window at P inside W.
    WindowHandle FindHorizontalBar(WindowHandle w, ScreenPoint p, WindowHandle& c);

  private:
    WindowHandle AvlScrollBar(WindowHandle t);
    WindowHandle ProximitySearch(WindowHandle c, ScreenPoint p);

    WindowSystem& windows_;
    InputSink& input_;
};

}  // namespace runtime
