// The hint a skinned control gives while the pointer is over it.
#pragma once

#include <windows.h>

#include <string>

namespace skin {

// Publishes `hint` for `control` (wParam 1) unless the hint window already
// shows it, so that moves over one control post nothing after the first.
void PublishHintIfNew(HWND control, const std::string& hint);

// The hover state of a control that shows a hint: the first move over it
// asks for WM_MOUSELEAVE, and every move publishes the hint when it is new.
class HoverHint {
  public:
    // From WM_MOUSEMOVE.
    void Moved(HWND control, const std::string& hint);
    // From WM_MOUSELEAVE: the next move asks for the leave notice again.
    void Left() { tracking_ = false; }

  private:
    bool tracking_ = false;
};

}  // namespace skin
