// Skinned edit field, spin box, label and colour picker strip.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/child_window_win.h"
#include "option/skin/hover_hint_win.h"
#include "option/skin/color_pick_control_win.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/state_images_win.h"

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

class CSpinBox : public win::WindowImpl<CSpinBox> {
  public:
    CSpinBox() = default;
    ~CSpinBox() override;

    bool Create(const RECT& r, HWND parent, UINT id);
    void SetBitmaps(const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled);
    void SetBitmaps(const RECT& r, const SkinSheets& sheets) {
        SetBitmaps(r, sheets.Get(ButtonImage::Normal), sheets.Get(ButtonImage::Over),
                   sheets.Get(ButtonImage::Down), sheets.Get(ButtonImage::Disabled));
    }
    void SetRange(int minimum, int maximum);
    void SetStep(int step) { step_ = step < 1 ? 1 : step; }
    void SetValue(int value);
    void SetHint(const std::string& text);

    int Value() const { return value_; }
    CBitmapEdit& Edit() { return edit_; }
    CSkinButton& UpButton() { return up_; }
    CSkinButton& DownButton() { return down_; }

    static constexpr UINT kUpId = 402;
    static constexpr UINT kDownId = 403;

    static std::span<const win::MessageRow<CSpinBox>> MessageMap();

  private:
    void Report();
    void ShowValue();
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnUp();
    LRESULT OnDown();
    LRESULT OnEditCommit();
    LRESULT OnEditEnter();
    LRESULT OnCtlColor(HDC dc, HWND control);
    LRESULT OnMouseMove();
    LRESULT OnMouseLeave();

    StateImages images_;
    CSkinButton up_;
    CSkinButton down_;
    CBitmapEdit edit_;
    RECT rect_{0, 0, 0, 0};
    HWND parent_ = nullptr;
    UINT id_ = 0;
    int value_ = 0;
    int step_ = 1;
    int minimum_ = 0;
    int maximum_ = 10;
    std::string hint_;
    HoverHint hover_;
    RECT upRect_{0, 0, 0, 0};
    RECT downRect_{0, 0, 0, 0};
};

class CSkinLabel : public win::WindowImpl<CSkinLabel> {
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
    LRESULT OnPaint();
    LRESULT OnPaintInto(win::WParam<HDC> dc);
    void PaintInto(HDC dc);
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnNcPaint() { return HasFrame(Hwnd()) ? CallDefault() : 0; }
    LRESULT OnMouseMove();
    LRESULT OnMouseLeave();

    std::string text_;
    std::string hint_;
    bool hintEnabled_ = true;
    COLORREF back_ = RGB(255, 255, 255);
    bool bold_ = false;
    HoverHint hover_;
};

// The strip takes the keyboard too: the arrows move the marker and pick
// what a click at the marker's point picks.
class CColorPicker : public SpectrumControl<CColorPicker> {
  public:
    ~CColorPicker() override;

    // Loads the strip and the marker from the program's bitmap resources and
    // creates the window only if both load.
    int Create(UINT stripResource, HWND parent, const RECT& r, UINT id, UINT markerResource);
    COLORREF GetColor() const { return color_; }
    POINT MarkerPos() const { return marker_; }

    static std::span<const win::MessageRow<CColorPicker>> MessageMap();

  private:
    friend class SpectrumControl<CColorPicker>;
    PickBounds KeyPickArea() const;
    PickSpot KeyPickSpot() const;
    void PickByKeys(PickSpot at) { ClickAt(Hwnd(), at); }
    std::uint32_t SpokenColor() const { return color_; }

    void Pick(POINT at);
    LRESULT OnPaint();
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnLButtonUp();
    LRESULT OnMouseMove(UINT keys, POINT at);
    LRESULT OnMouseLeave();

    win::ScopedGdi<HBITMAP> strip_;
    win::ScopedGdi<HBITMAP> markerPicture_;
    COLORREF color_ = RGB(255, 0, 0);
    POINT marker_{65, 7};
    bool pressing_ = false;
    std::string hint_ = "Create Custom Color";
    HoverHint hover_;
};

}  // namespace skin
