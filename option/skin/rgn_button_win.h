// The button of any outline: its shape is read from a mask picture, it
// hovers, presses and latches only inside it (the main window's profile
// selectors).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/child_window_win.h"
#include "option/skin/control_math.h"
#include "option/skin/keyboard_control_win.h"
#include "option/skin/painted_face_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/state_images_win.h"
#include "option/skin/window_words_win.h"

namespace skin {

class CRgnButton : public PaintedFace<CRgnButton, KeyboardControl<CRgnButton>> {
  public:
    CRgnButton() = default;
    ~CRgnButton() override;

    void SetMaskFile(const std::string& path) { maskFile_ = path; }
    bool CreateButton(const char* name, const RECT& r, HWND parent, UINT id);
    void SetBitmaps(const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled);
    // The same with each image cut when the button first shows its state.
    void SetBitmaps(const RECT& r, const SkinSheets& sheets);
    void SetLatched(bool latched);
    void SetLatchingMode(bool latching) { latchingMode_ = latching; }
    void SetTag(int tag) { tag_ = tag; }
    // A click from the keyboard: a latching selector flips, the parent gets
    // the click.
    void Press();
    // What a screen reader reads as its name (the selector's caption).
    void SetAccessibleName(const std::string& name) { accessibleName_ = name; }

    bool Latched() const { return latched_; }
    RgnState VisualState() const { return state_; }
    int Tag() const { return tag_; }
    HRGN Shape() const { return shape_.Get(); }

    static std::span<const win::MessageRow<CRgnButton>> MessageMap();

  private:
    friend class PaintedFace<CRgnButton, KeyboardControl<CRgnButton>>;
    friend class win::WindowImpl<CRgnButton>;  // the shared groups of rows

    bool InShape(POINT p) const;
    LRESULT OnCreate();
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnMouseMove(UINT keys, POINT at);
    LRESULT OnLButtonUp(UINT keys, POINT at);
    void PaintInto(HDC dc);
    LRESULT OnDestroy();
    LRESULT OnKeyDown(UINT key, UINT data);
    LRESULT OnGetObject(WPARAM flags, LONG objectId);
    LRESULT OnTakeCaption(win::LParam<const ControlCaption*> caption);
    void Release();

    win::ScopedGdi<HRGN> shape_;
    bool captured_ = false;
    bool pressedInRegion_ = false;
    StateImages images_;
    win::ScopedGdi<HBITMAP> maskPicture_;
    std::string maskFile_;
    RgnState state_ = RgnState::Normal;
    bool latchingMode_ = false;
    bool latched_ = false;
    int tag_ = kRgnButtonDefaultTag;
    std::string accessibleName_;
    std::optional<ControlCaption> caption_;  // the skin's word over the images
};

}  // namespace skin
