// The ordinary skinned button: four images (normal, over, down, disabled)
// cut from the window's state sheets, a latching mode, a hint and an
// optional face text.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/button_pos.h"
#include "option/skin/child_window_win.h"
#include "option/skin/control_math.h"
#include "option/skin/control_table.h"
#include "option/skin/painted_face_win.h"
#include "option/skin/skin_hint_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/state_images_win.h"
#include "option/skin/window_words_win.h"

namespace skin {

class CSkinButton : public PaintedFace<CSkinButton> {
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
    // The same for the button of a control table's `row`: its id, its key as
    // the tag, latching when the row says so.
    bool CreateFromRow(HWND parent, const ControlRow& row, const ButtonPos& pos,
                       const SkinSheets& sheets);

    void SetBitmaps(const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled);
    // The same with each image cut when the button first shows its state.
    void SetBitmaps(const RECT& r, const SkinSheets& sheets);
    void SetLatched(bool latched);
    void SetLatchingMode(bool latching) { latchingMode_ = latching; }
    void SetHover(bool hover);
    void SetHint(const std::string& text);
    void SetFaceText(const std::string& text);
    void SetTag(int tag) { tag_ = tag; }
    // What a click does, from the keyboard: a latching button flips, and the
    // parent gets the click.
    void Press();
    // The role a screen reader is told (ROLE_SYSTEM_x); by default a push
    // button, or a check button in latching mode.
    void SetAccessibleRole(long role) { accessibleRole_ = role; }

    bool Latched() const { return latched_; }
    bool LatchingMode() const { return latchingMode_; }
    bool Hover() const { return hover_; }
    int Tag() const { return tag_; }
    const std::string& Hint() const { return hint_; }
    const std::string& FaceText() const { return faceText_; }
    // The skin's word over the images, as the window laid it out.
    const std::optional<ControlCaption>& Caption() const { return caption_; }
    HBITMAP Image(int index) const { return images_[static_cast<std::size_t>(index & 3)]; }
    // The image the button shows now.
    ButtonImage CurrentImage() const;

    static std::span<const win::MessageRow<CSkinButton>> MessageMap();

  protected:
    // Draws the chosen image (and what the class adds) into `dc`.
    virtual void DrawFace(HDC dc, HBITMAP image, const RECT& client);
    // What a screen reader reads as the value: the face text under a hint.
    virtual std::string AccessibleValue() const;
    // The hint text written with a hover notification.
    virtual std::string HintFor(bool hover) const;

  private:
    friend class win::WindowImpl<CSkinButton>;  // the shared groups of rows
    void NotifyHover(bool hover);
    void Relay(UINT msg, UINT keys, POINT at);
    void EnsureToolTip();
    // Border and tab stop off, repainted: what new images bring.
    void TookImages();
    void UpdateToolTip();
    void PassOnPress(UINT keys, POINT at);

    friend class PaintedFace<CSkinButton>;
    void PaintInto(HDC dc);
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
    LRESULT OnTakeCaption(win::LParam<const ControlCaption*> caption);

    static constexpr UINT_PTR kToolTipTimer = 1;
    HWND toolTip_ = nullptr;
    bool toolTipAsked_ = false;
    bool latched_ = false;
    bool latchingMode_ = false;
    bool hover_ = false;
    StateImages images_;
    int tag_ = 0;
    std::string faceText_;
    std::optional<ControlCaption> caption_;  // the skin's word over the images
    std::string hint_;
    long accessibleRole_ = 0;
};

}  // namespace skin
