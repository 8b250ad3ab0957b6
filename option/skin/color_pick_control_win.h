// What the two colour spectra (the picker strip and the spectrum drawn in a
// dialog's picture) share for the keyboard and a screen reader: the keys move
// a pick point and pick there as a click does; the spectrum reads as a slider
// whose value is the colour picked. A spectrum class C derives from
// SpectrumControl<C>, befriends it, ends its table with SpectrumRows() and
// defines:
//   LRESULT OnPaint()                paints the spectrum;
//   PickBounds KeyPickArea() const   where the pick point may go;
//   PickSpot KeyPickSpot() const     the pick point now;
//   void PickByKeys(PickSpot)        picks at a point as a click there does;
//   std::uint32_t SpokenColor() const  the colour to read out.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/win/message_map.h"
#include "option/skin/control_keys_win.h"
#include "option/skin/control_math.h"
#include "option/skin/keyboard_control_win.h"
#include "option/skin/skin_accessible_win.h"
#include "option/skin/skin_loader_win.h"

namespace skin {

template <class C>
class SpectrumControl : public KeyboardControl<C> {
  public:
    // What a screen reader calls the spectrum.
    void SetAccessibleName(const std::string& name) { accessibleName_ = name; }

  protected:
    // Painting (C::OnPaint, without erasing first), the keys, the focus and
    // the screen reader's questions.
    static constexpr std::array<win::MessageRow<C>, 7> SpectrumRows() {
        using S = SpectrumControl;
        return {win::OnMessage<WM_PAINT, &C::OnPaint>(),
                win::OnMessage<WM_ERASEBKGND, &S::OnEraseBkgnd, C>(),
                win::OnMessage<WM_GETDLGCODE, &S::OnGetDlgCode, C>(),
                win::OnMessage<WM_KEYDOWN, &S::OnSpectrumKey, C>(),
                win::OnMessage<WM_SETFOCUS, &S::OnFocusCue, C>(),
                win::OnMessage<WM_KILLFOCUS, &S::OnFocusCue, C>(),
                win::OnMessage<WM_GETOBJECT, &S::OnGetObject, C>()};
    }

    LRESULT OnEraseBkgnd() { return 1; }

    LRESULT OnSpectrumKey(UINT key, UINT) {
        C& self = static_cast<C&>(*this);
        const PickSpot at = self.KeyPickSpot();
        const std::optional<PickSpot> next =
            PickSpotAfterKey(this->Hwnd(), key, at, self.KeyPickArea(), SkinScale());
        if (!next)
            return this->CallDefault();
        const std::uint32_t before = self.SpokenColor();
        self.PickByKeys(*next);
        if (next->x != at.x || next->y != at.y || self.SpokenColor() != before)
            NotifyValueChanged(this->Hwnd());
        return 0;
    }

    LRESULT OnGetObject(WPARAM flags, LONG objectId) {
        if (objectId != OBJID_CLIENT)
            return this->CallDefault();
        const C& self = static_cast<const C&>(*this);
        return AnswerAccessible(this->Hwnd(), flags,
                                ColorSpectrumFacts(accessibleName_, self.SpokenColor()));
    }

  private:
    std::string accessibleName_;
};

}  // namespace skin
