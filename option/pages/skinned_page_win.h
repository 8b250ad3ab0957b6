// The base of the main window's pages. What they all do alike lives here:
// the page window made and skinned from its description file, the skin's
// surface painted as the whole body, which the user drags the main window
// by, and what every host of skinned controls answers (SkinHost). A page
// keeps its own controls and what their messages do.
//
// The page class P derives from SkinnedPage<P>, makes its table with Table()
// and defines, for the base to call (declaring the base a friend when they
// are private):
//   void BuildControl(const skin::ControlRow&, const skin::ButtonPos&,
//                     const skin::SkinSheets&)
//       makes the control of one row of its control table;
//   void PaintOver(HDC)  draws over the skin's picture (nothing by default).
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "common/win/message_map.h"
#include "option/pages/option_page.h"
#include "option/pages/page_window_win.h"
#include "option/skin/control_table.h"
#include "option/skin/skin_host_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"

namespace option {

template <class P>
class SkinnedPage : public skin::SkinHost<P>, public OptionPage {
  public:
    bool Create(HWND parent, const RECT& area) override {
        HWND page = CreatePageWindow(parent, area);
        if (page == nullptr || !this->Subclass(page))
            return false;
        SkinPage(page, area, surface_, skinFile_, controls_,
                 [this](const skin::ControlRow& row, const skin::ButtonPos& pos,
                        const skin::SkinSheets& sheets) { Self().BuildControl(row, pos, sheets); });
        return true;
    }
    HWND Window() const override { return this->Hwnd(); }
    std::span<const skin::ControlRow> Controls() const override { return controls_; }

  protected:
    using Row = win::MessageRow<P>;

    // `controls` is a table of the page's own header, skinned from `skinFile`.
    SkinnedPage(const char* skinFile, std::span<const skin::ControlRow> controls)
        : skinFile_(skinFile), controls_(controls) {}

    // The body: painted from the skin and dragged by a press.
    static constexpr std::array<Row, 3> PageRows() {
        return {
            win::OnMessage<WM_PAINT, &SkinnedPage::OnPaint, P>(),
            win::OnMessage<WM_ERASEBKGND, &SkinnedPage::OnEraseBkgnd, P>(),
            win::OnMessage<WM_LBUTTONDOWN, &SkinnedPage::OnLButtonDown, P>(),
        };
    }

    // A page with sliders: the keys they take kept from closing the page,
    // and a moved slider reported to P::OnSlider.
    static constexpr std::array<Row, 2> SliderRows() {
        return {
            win::OnMessage<WM_KEYDOWN, &SkinnedPage::OnKeyDown, P>(),
            win::OnMessage<skin::kMsgSliderValue, &P::OnSlider, P>(),
        };
    }

    // A page's table, checked: what every skinned host answers, the body,
    // then the parts given (groups of rows above, and its own).
    template <std::size_t... N>
    static consteval auto Table(const std::array<Row, N>&... parts) {
        return win::Checked(win::JoinRows(SkinnedPage::HostRows(), PageRows(), parts...));
    }

    // Enter and Escape would end the page's dialog: a page that takes keys
    // swallows them (SliderRows routes WM_KEYDOWN here).
    LRESULT OnKeyDown(UINT key, UINT) { return ClosesPage(key) ? 0 : this->CallDefault(); }

    // What P may hide.
    void PaintOver(HDC) {}

    skin::SkinSurface surface_;

  private:
    P& Self() { return static_cast<P&>(*this); }

    LRESULT OnPaint() {
        surface_.Paint(this->Hwnd(), [this](HDC dc) { Self().PaintOver(dc); });
        return 0;
    }
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT, POINT at) {
        skin::DragByBody(this->Hwnd(), at, true);
        return this->CallDefault();
    }

    const char* skinFile_;
    std::span<const skin::ControlRow> controls_;
};

}  // namespace option
