// The hint a skinned control gives while the pointer is over it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "common/win/message_map.h"
#include "common/win/window.h"

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

// The base of a control whose only use of the pointer over it is its hint:
// T joins HintRows() into its table and sets hint_. Base is the window class
// T would otherwise derive from.
template <class T, class Base = win::WindowImpl<T>>
class HintedControl : public Base {
  protected:
    // WM_MOUSEMOVE publishes the hint, WM_MOUSELEAVE ends the hover.
    static constexpr std::array<win::MessageRow<T>, 2> HintRows() {
        return {win::OnMessage<WM_MOUSEMOVE, &HintedControl::OnHintMove, T>(),
                win::OnMessage<WM_MOUSELEAVE, &HintedControl::OnHintLeave, T>()};
    }

    std::string hint_;

  private:
    LRESULT OnHintMove() {
        hover_.Moved(this->Hwnd(), hint_);
        return this->CallDefault();
    }
    LRESULT OnHintLeave() {
        hover_.Left();
        return 0;
    }

    HoverHint hover_;
};

}  // namespace skin
