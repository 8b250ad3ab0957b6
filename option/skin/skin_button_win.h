// Skinned buttons: the ordinary four-image button, the colour swatch and the
// button of any outline.
//
// What a program using the skinned controls does once:
//   RegisterSkinMessages() at start, SetHintWindow(main window) when the main
//   window exists, CCoolMenu::Install()/Uninstall() around the main window,
//   and links the skin_resources object library.
// What a window hosting them forwards, from rows such as
// win::OnMessage<WM_CTLCOLOREDIT, &W::OnCtlColor>():
//   WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC, OnCtlColor(HDC, HWND control) ->
//   CBitmapEdit::ReflectCtlColor,
//   WM_MEASUREITEM / WM_DRAWITEM, OnMeasureItem(UINT, MEASUREITEMSTRUCT*) and
//   OnDrawItem(UINT, const DRAWITEMSTRUCT*) -> CSkinMenu::RouteOwnerDraw
//   (while its menus are shown).
#pragma once

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/button_pos.h"
#include "option/skin/child_window_win.h"
#include "option/skin/keyboard_control_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_accessible_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/state_images_win.h"

namespace skin {

// The window that receives the hint message 1125 (Option's main window).
// Without one, the top-level window of the control is used.
void SetHintWindow(HWND mainWindow);
HWND HintWindow(HWND control);
// Writes the hint string and posts 1125 (wParam, 0) to the hint window.
void PublishHint(HWND control, const std::string& text, WPARAM wParam);

// Registered messages of the edit field, registered once at program start
// (also on first use).
UINT EditKillFocusMessage();
UINT EditChangeMessage();
void RegisterSkinMessages();

class CSkinButton : public win::WindowImpl<CSkinButton> {
  public:
    CSkinButton() = default;
    ~CSkinButton() override;

    // A child owner-drawn button (style child and visible) at `r`.
    bool Create(HWND parent, const RECT& r, UINT id);
    // Takes over a button created elsewhere.
    bool Attach(HWND button);
    // The recipe's step for one button: create, cut the images, latched
    // state and hint from the placement.
    bool CreateFromPos(HWND parent, const ButtonPos& pos, UINT id, const SkinSheets& sheets);

    void SetBitmaps(const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled);
    // The same with each image cut when the button first shows its state.
    void SetBitmaps(const RECT& r, const SkinSheets& sheets);
    void SetLatched(int value);
    void SetLatchingMode(int value) { latchingMode_ = value != 0; }
    void SetHover(int value);
    void SetHint(const std::string& text, int activate = 0);
    void SetFaceText(const std::string& text);
    void SetTag(int tag) { tag_ = tag; }
    // What a click does, from the keyboard: a latching button flips, and the
    // parent gets the click.
    void Press();
    // The role a screen reader is told (ROLE_SYSTEM_x); by default a push
    // button, or a check button in latching mode.
    void SetAccessibleRole(long role) { accessibleRole_ = role; }

    int Latched() const { return latched_ ? 1 : 0; }
    int LatchingMode() const { return latchingMode_ ? 1 : 0; }
    int Hover() const { return hover_ ? 1 : 0; }
    int Tag() const { return tag_; }
    const std::string& Hint() const { return hint_; }
    const std::string& FaceText() const { return faceText_; }
    HBITMAP Image(int index) const { return images_[static_cast<std::size_t>(index & 3)]; }
    // The image the button shows now (0 normal, 1 over, 2 down, 3 disabled).
    int CurrentImage() const;

    static std::span<const win::MessageRow<CSkinButton>> MessageMap();

  protected:
    // Draws the chosen image (and what the class adds) into `dc`.
    virtual void DrawFace(HDC dc, HBITMAP image, const RECT& client);
    // What a screen reader reads as the value: the face text under a hint.
    virtual std::string AccessibleValue() const;
    // The hint text written with a hover notification.
    virtual std::string HintFor(int hover) const;

  private:
    void NotifyHover(int hover);
    void Relay(UINT msg, UINT keys, POINT at);
    void EnsureToolTip();
    // Border and tab stop off, repainted: what new images bring.
    void TookImages();
    void UpdateToolTip();
    void PassOnPress(UINT keys, POINT at);

    LRESULT OnPaint();
    LRESULT OnPaintInto(win::WParam<HDC> dc);
    void PaintInto(HDC dc);
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnNcPaint() { return HasFrame(Hwnd()) ? CallDefault() : 0; }
    LRESULT OnMouseMove(UINT keys, POINT at);
    LRESULT OnKillFocus();
    LRESULT OnCaptureChanged(HWND taker);
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnLButtonUp(UINT keys, POINT at);
    LRESULT OnStateChange();
    LRESULT OnDestroy();
    LRESULT OnGetDlgCode();
    LRESULT OnKeyDown(UINT key, UINT data);
    LRESULT OnSysKeyDown(UINT key, UINT data);
    LRESULT OnGetObject(WPARAM flags, LONG objectId);
    LRESULT OnTimer(UINT_PTR id);

    static constexpr UINT_PTR kToolTipTimer = 1;
    HWND toolTip_ = nullptr;
    bool toolTipAsked_ = false;
    bool latched_ = false;
    bool latchingMode_ = false;
    bool hover_ = false;
    StateImages images_;
    int tag_ = 0;
    std::string faceText_;
    std::string hint_;
    long accessibleRole_ = 0;
};

class CColorSwatchButton : public CSkinButton {
  public:
    void SetSwatchColor(COLORREF color);
    COLORREF SwatchColor() const { return swatch_; }

  protected:
    void DrawFace(HDC dc, HBITMAP image, const RECT& client) override;
    std::string HintFor(int hover) const override;
    std::string AccessibleValue() const override;

  private:
    COLORREF swatch_ = 0;
};

class CRgnButton : public KeyboardControl<CRgnButton> {
  public:
    CRgnButton() = default;
    ~CRgnButton() override;

    void SetMaskFile(const std::string& path) { maskFile_ = path; }
    bool CreateButton(const char* name, const RECT& r, HWND parent, UINT id);
    void SetBitmaps(const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled);
    // The same with each image cut when the button first shows its state.
    void SetBitmaps(const RECT& r, const SkinSheets& sheets);
    void SetLatched(int value);
    void SetLatchingMode(int value) { latchingMode_ = value != 0; }
    void SetTag(int tag) { tag_ = tag; }
    // A click from the keyboard: a latching selector flips, the parent gets
    // the click.
    void Press();
    // What a screen reader reads as its name (the selector's caption).
    void SetAccessibleName(const std::string& name) { accessibleName_ = name; }

    int Latched() const { return latched_ ? 1 : 0; }
    int VisualState() const { return state_; }
    int Tag() const { return tag_; }
    HRGN Shape() const { return shape_.Get(); }

    static std::span<const win::MessageRow<CRgnButton>> MessageMap();

  private:
    bool InShape(POINT p) const;
    LRESULT OnCreate();
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnMouseMove(UINT keys, POINT at);
    LRESULT OnLButtonUp(UINT keys, POINT at);
    LRESULT OnPaint();
    LRESULT OnPaintInto(win::WParam<HDC> dc);
    void PaintInto(HDC dc);
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnNcPaint() { return HasFrame(Hwnd()) ? CallDefault() : 0; }
    LRESULT OnDestroy();
    LRESULT OnKeyDown(UINT key, UINT data);
    LRESULT OnGetObject(WPARAM flags, LONG objectId);
    void Release();

    win::ScopedGdi<HRGN> shape_;
    bool captured_ = false;
    bool pressedInRegion_ = false;
    StateImages images_;
    win::ScopedGdi<HBITMAP> maskPicture_;
    std::string maskFile_;
    int state_ = 0;
    bool latchingMode_ = false;
    bool latched_ = false;
    int tag_ = kRgnButtonDefaultTag;
    std::string accessibleName_;
};

// Copies `image` to `dc` at (0, 0) in `w` x `h` (nothing for an empty image).
void BlitImage(HDC dc, HBITMAP image, int w, int h);

}  // namespace skin
