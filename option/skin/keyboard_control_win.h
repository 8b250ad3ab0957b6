// The base of the skinned controls of our own window classes that take the
// keyboard (the shaped selector, the slider track, the fill bar): what they
// answer alike. A control's table names these handlers with its own class,
// OnMessage<WM_GETDLGCODE, &C::OnGetDlgCode, C>().
#pragma once

#include <windows.h>

#include <array>

#include "common/win/window.h"
#include "option/skin/control_keys_win.h"

namespace skin {

template <class T>
class KeyboardControl : public win::WindowImpl<T> {
  protected:
    // A repaint on gaining and on losing the focus (OnFocusCue).
    static constexpr std::array<win::MessageRow<T>, 2> FocusCueRows() {
        return {win::OnMessage<WM_SETFOCUS, &KeyboardControl::OnFocusCue, T>(),
                win::OnMessage<WM_KILLFOCUS, &KeyboardControl::OnFocusCue, T>()};
    }

    // Every key comes to the control; the window-level keys are taken
    // before (see keyboard_nav_win.h).
    LRESULT OnGetDlgCode() { return kWantsAllKeys; }
    // On gaining or losing the focus: the default processing, then a
    // repaint, which draws or removes the focus mark.
    LRESULT OnFocusCue() {
        const LRESULT result = this->CallDefault();
        InvalidateRect(this->Hwnd(), nullptr, FALSE);
        return result;
    }
};

}  // namespace skin
