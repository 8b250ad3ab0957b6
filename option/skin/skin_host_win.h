// The base of every window that hosts skinned controls. The controls leave
// two things to the window they sit in, which every host answers alike: the
// colours of a CBitmapEdit child (WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC), and
// the owner-drawn items of a skinned popup menu the window opened
// (WM_MEASUREITEM, WM_DRAWITEM). A host joins HostRows() into its table:
//   static constexpr auto rows = win::JoinRows(HostRows(), std::to_array(own));
// A host that draws owner-drawn items of its own (list boxes) defines, for
// the base to call (declaring SkinHost<W> a friend when they are private):
//   bool MeasureOwnItem(UINT id, MEASUREITEMSTRUCT& item)
//   bool DrawOwnItem(UINT id, const DRAWITEMSTRUCT& item)
// each true when it took the item.
#pragma once

#include <windows.h>

#include <array>

#include "common/win/message_map.h"
#include "common/win/window.h"
#include "option/skin/bitmap_edit_win.h"
#include "option/skin/skin_menu_win.h"

namespace skin {

template <class W>
class SkinHost : public win::WindowImpl<W> {
  protected:
    static constexpr std::array<win::MessageRow<W>, 4> HostRows() {
        return {
            win::OnMessage<WM_CTLCOLOREDIT, &SkinHost::OnHostedCtlColor, W>(),
            win::OnMessage<WM_CTLCOLORSTATIC, &SkinHost::OnHostedCtlColor, W>(),
            win::OnMessage<WM_MEASUREITEM, &SkinHost::OnMeasureItem, W>(),
            win::OnMessage<WM_DRAWITEM, &SkinHost::OnDrawItem, W>(),
        };
    }

    // What W may hide.
    bool MeasureOwnItem(UINT, MEASUREITEMSTRUCT&) { return false; }
    bool DrawOwnItem(UINT, const DRAWITEMSTRUCT&) { return false; }

  private:
    W& Self() { return static_cast<W&>(*this); }

    LRESULT OnHostedCtlColor(HDC dc, HWND control) {
        LRESULT brush = 0;
        return CBitmapEdit::ReflectCtlColor(dc, control, brush) ? brush : this->CallDefault();
    }
    LRESULT OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item) {
        if (CSkinMenu::RouteOwnerDraw(item) || Self().MeasureOwnItem(id, *item))
            return TRUE;
        return this->CallDefault();
    }
    LRESULT OnDrawItem(UINT id, const DRAWITEMSTRUCT* item) {
        if (CSkinMenu::RouteOwnerDraw(item) || Self().DrawOwnItem(id, *item))
            return TRUE;
        return this->CallDefault();
    }
};

}  // namespace skin
