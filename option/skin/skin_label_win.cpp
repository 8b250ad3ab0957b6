#include "option/skin/skin_label_win.h"

#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "option/skin/arial_font_win.h"
#include "option/skin/bitmap_facts_win.h"
#include "option/skin/child_window_win.h"
#include "option/skin/control_math.h"
#include "option/skin/focus_mark_win.h"
#include "option/skin/offscreen_canvas_win.h"
#include "option/skin/scaled_resource_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/skin_hint_win.h"
#include "option/skin/hover_hint_win.h"

namespace skin {

std::span<const win::MessageRow<CSkinLabel>> CSkinLabel::MessageMap() {
    static constexpr auto rows = Table(HoverRows());
    return rows;
}

bool CSkinLabel::Create(const RECT& r, HWND parent, UINT id) {
    return CreateChild(*this, "SkinLabel", WS_CHILD | WS_VISIBLE, r, parent, id);
}

void CSkinLabel::SetText(const std::string& text) {
    text_ = text;
    RepaintIfMade(Hwnd());
}

void CSkinLabel::SetBackColor(COLORREF color) {
    back_ = color;
    RepaintIfMade(Hwnd());
}

void CSkinLabel::SetBold(bool bold) {
    bold_ = bold;
    RepaintIfMade(Hwnd());
}

void CSkinLabel::PaintInto(HDC dc) {
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int w = std::max<int>(client.right, 1);
    const int h = std::max<int>(client.bottom, 1);
    {
        const OffscreenCanvas canvas(dc, w, h);
        HDC memory = canvas.Dc();
        const win::ScopedGdi<HBRUSH> brush(CreateSolidBrush(back_));
        FillRect(memory, &client, brush.Get());
        const win::ScopedSelect keepFont(
            memory,
            bold_ ? ArialFont(SkinPixels(16), SkinPixels(8), FW_BOLD) : ArialFont(SkinPixels(14)));
        SetBkMode(memory, TRANSPARENT);
        SetTextColor(memory, RGB(2, 2, 2));
        RECT textRect = client;
        win::DrawTextUtf8(memory, text_, &textRect,
                          DT_SINGLELINE | DT_VCENTER | (bold_ ? DT_LEFT : DT_CENTER));
        canvas.CopyTo(dc);
    }
}

LRESULT CSkinLabel::OnMouseMove() {
    if (hintEnabled_)
        hover_.Moved(Hwnd(), hint_);
    return CallDefault();
}

LRESULT CSkinLabel::OnMouseLeave() {
    hover_.Left();
    return 0;
}

}  // namespace skin
