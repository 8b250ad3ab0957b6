// The base of the skinned controls that draw their whole face in one
// function, PaintInto(HDC). The same drawing serves the window's own paint
// and a parent that composes its children into one picture (kMsgPaintInto);
// the background is never erased (the face covers it, and erasing first
// would flicker), and the non-client frame is drawn only when the control
// has one.
//
// The control T derives from PaintedFace<T, Base> (Base, the window class it
// would otherwise derive from, is win::WindowImpl<T> unless named), makes its
// table with Table(parts...) and defines, for the base to call (declaring
// the base a friend when it is private):
//   void PaintInto(HDC)  draws the face, its origin at the client's top-left.
#pragma once

#include <windows.h>

#include <array>

#include "common/win/message_map.h"
#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/child_window_win.h"
#include "option/skin/skin_messages.h"

namespace skin {

template <class T, class Base = win::WindowImpl<T>>
class PaintedFace : public Base {
  protected:
    using Row = win::MessageRow<T>;

    // The control's table, checked: the painting rows, then the parts given
    // (the groups of rows it shares with other windows, and its own rows).
    template <std::size_t... N>
    static consteval auto Table(const std::array<Row, N>&... parts) {
        return win::Checked(win::JoinRows(
            std::array<Row, 4>{
                win::OnMessage<WM_PAINT, &PaintedFace::OnPaint, T>(),
                win::OnMessage<kMsgPaintInto, &PaintedFace::OnPaintInto, T>(),
                win::OnMessage<WM_ERASEBKGND, &PaintedFace::OnEraseBkgnd, T>(),
                win::OnMessage<WM_NCPAINT, &PaintedFace::OnNcPaint, T>(),
            },
            parts...));
    }

    // A face that shows a caption: the caption its window laid out for it
    // (kMsgTakeCaption, T::OnTakeCaption), and what a screen reader asks of
    // it (WM_GETOBJECT, T::OnGetObject).
    static constexpr std::array<Row, 2> CaptionRows() {
        return {win::OnMessage<kMsgTakeCaption, &T::OnTakeCaption, T>(),
                win::OnMessage<WM_GETOBJECT, &T::OnGetObject, T>()};
    }

  private:
    T& Self() { return static_cast<T&>(*this); }

    LRESULT OnPaint() {
        const win::ScopedPaint paint(this->Hwnd());
        Self().PaintInto(paint.Get());
        return 0;
    }
    LRESULT OnPaintInto(win::WParam<HDC> dc) {
        Self().PaintInto(dc.value);
        return 1;
    }
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnNcPaint() { return HasFrame(this->Hwnd()) ? this->CallDefault() : 0; }
};

}  // namespace skin
