// The skinned label: text on a plain colour, with a hint.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/child_window_win.h"
#include "option/skin/hover_hint_win.h"
#include "option/skin/painted_face_win.h"

namespace skin {

class CSkinLabel : public PaintedFace<CSkinLabel> {
  public:
    bool Create(const RECT& r, HWND parent, UINT id);
    void SetText(const std::string& text);
    void SetHint(const std::string& text) { hint_ = text; }
    void EnableHint(bool enabled) { hintEnabled_ = enabled; }
    void SetBackColor(COLORREF color);
    void SetBold(bool bold);
    const std::string& Text() const { return text_; }

    static std::span<const win::MessageRow<CSkinLabel>> MessageMap();

  private:
    friend class PaintedFace<CSkinLabel>;
    friend class win::WindowImpl<CSkinLabel>;  // the shared groups of rows

    void PaintInto(HDC dc);
    LRESULT OnMouseMove();
    LRESULT OnMouseLeave();

    std::string text_;
    std::string hint_;
    bool hintEnabled_ = true;
    COLORREF back_ = RGB(255, 255, 255);
    bool bold_ = false;
    HoverHint hover_;
};

}  // namespace skin
