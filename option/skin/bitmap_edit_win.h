// The skinned edit field: a system edit control taken over, with its own
// colours and font, a number filter and a hint.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/hover_hint_win.h"
#include "option/skin/skin_messages.h"

namespace skin {

// The whole text of a window.
std::string WindowText(HWND hwnd);

class CBitmapEdit : public win::WindowImpl<CBitmapEdit> {
  public:
    CBitmapEdit() = default;
    ~CBitmapEdit() override;

    // Creates a system edit control with `style` and takes it over.
    bool Create(DWORD style, const RECT& r, HWND parent, UINT id);
    bool Attach(HWND edit);

    void SetNumeric(bool numeric) { numeric_ = numeric; }
    void SetSignAllowed(bool allowed) { signAllowed_ = allowed; }
    void SetHint(const std::string& text) { hint_ = text; }
    void SetColors(COLORREF text, COLORREF background);
    void ApplyFont();
    std::string Text() const;
    void SetText(const std::string& text);

    // The colour request of the parent (WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC):
    // the edit's brush after setting its colours.
    HBRUSH CtlColor(HDC dc);
    // For a parent's WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC: answers for a
    // CBitmapEdit child; false when `control` is not one.
    static bool ReflectCtlColor(HDC dc, HWND control, LRESULT& brush);

    static std::span<const win::MessageRow<CBitmapEdit>> MessageMap();

  private:
    friend class win::WindowImpl<CBitmapEdit>;  // the shared groups of rows
    LRESULT OnKeyDown(UINT key, UINT keyData);
    LRESULT OnChar(UINT ch, UINT keyData);
    LRESULT OnKeyUp(UINT key, UINT keyData);
    LRESULT OnTextInput();
    LRESULT OnKillFocus();
    LRESULT OnVScroll();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnMouseMove();
    LRESULT OnMouseLeave();
    LRESULT OnDestroy();
    LRESULT OnGetObject(WPARAM flags, LONG objectId);
    void AfterChange();

    std::string hint_;
    COLORREF textColor_ = RGB(36, 36, 36);
    COLORREF backColor_ = RGB(255, 255, 255);
    win::ScopedGdi<HBRUSH> brush_;
    win::ScopedGdi<HFONT> font_;
    bool numeric_ = false;
    bool signAllowed_ = false;
    int fontHeight_ = 14;
    int fontWidth_ = 6;
    HoverHint hover_;
    bool filtering_ = false;
    std::string lastText_;
};

}  // namespace skin
