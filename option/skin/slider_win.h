// Skinned sliders: a track with a draggable thumb, and a fill bar.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/accessible_text.h"
#include "option/skin/hover_hint_win.h"
#include "option/skin/keyboard_control_win.h"
#include "option/skin/skin_messages.h"

namespace skin {

class CclickHSlider;

// The thumb of a track. Positions are in the track's client coordinates.
class CPHSlider : public win::WindowImpl<CPHSlider> {
  public:
    CPHSlider() = default;
    ~CPHSlider() override;

    // Loads the picture (0 when it cannot be loaded), creates the window of
    // the picture's size centred on (x, y) and, with `shape`, cuts away the
    // pixels of the colour of pixel (0, 0). The thumb moves between x and
    // `rightBound`, vertically centred between y and `bottomBound`.
    int Create(const std::string& pictureFile, int x, int y, int rightBound, int bottomBound,
               HWND parent, UINT id, bool shape);
    void SetPos(std::uint32_t value);
    void SetRange(std::uint32_t minimum, std::uint32_t maximum);
    void SetRounding(bool rounding) { rounding_ = rounding; }
    void SetDraggable(bool draggable) { draggable_ = draggable; }

    std::uint32_t Pos() const { return position_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    static std::span<const win::MessageRow<CPHSlider>> MessageMap();

  private:
    RECT RectInParent() const;
    void Report(std::uint32_t value);
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnMouseMove(UINT keys, POINT at);
    LRESULT OnLButtonUp();
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }

    UINT id_ = 0;
    win::ScopedGdi<HBITMAP> picture_;
    int width_ = 0;
    int height_ = 0;
    bool dragging_ = false;
    POINT grab_{0, 0};
    int leftBound_ = 0;
    int topPos_ = 0;
    int rightBound_ = 0;
    int bottomBound_ = 0;
    HWND parent_ = nullptr;
    std::uint32_t minimum_ = 0;
    std::uint32_t maximum_ = 10;
    std::uint32_t position_ = 0;
    bool draggable_ = true;
    bool rounding_ = false;
};

class CclickHSlider : public KeyboardControl<CclickHSlider> {
  public:
    CclickHSlider() = default;
    ~CclickHSlider() override;

    // Learns the thumb's size from its picture (0 when it cannot be loaded),
    // creates the track at `track` (parent client coordinates) and its thumb.
    int Create(const std::string& thumbFile, const RECT& track, HWND parent, UINT id);
    void SetTrackImage(const RECT& r, HBITMAP sheet);
    void SetRange(int minimum, int maximum);
    void SetRounding(bool rounding);
    void SetPos(int value);
    void SetHint(const std::string& text) { hint_ = text; }
    // How a screen reader hears the position (the unit the window shows).
    void SetValueUnit(ValueUnit unit) { unit_ = std::move(unit); }

    int Pos() const { return static_cast<int>(thumb_.Pos()); }
    CPHSlider& Thumb() { return thumb_; }
    const RECT& Track() const { return track_; }

    static std::span<const win::MessageRow<CclickHSlider>> MessageMap();

  private:
    LRESULT OnLButtonUp(UINT keys, POINT at);
    LRESULT OnThumbValue(win::WParam<WPARAM> value);
    LRESULT OnMouseMove();
    LRESULT OnMouseLeave();
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnKeyDown(UINT key, UINT data);
    LRESULT OnGetObject(WPARAM flags, LONG objectId);

    UINT id_ = 0;
    win::ScopedGdi<HBITMAP> trackImage_;
    int thumbWidth_ = 0;
    int thumbHeight_ = 0;
    std::string thumbFile_;
    RECT track_{0, 0, 0, 0};
    HWND parent_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 10;
    bool rounding_ = false;
    CPHSlider thumb_;
    std::string hint_;
    HoverHint hover_;
    ValueUnit unit_;
};

class CFillSlider : public KeyboardControl<CFillSlider> {
  public:
    CFillSlider() = default;
    ~CFillSlider() override;

    // Style child, visible and tab stop; range 0..10, position 0, enabled.
    bool Create(const RECT& r, HWND parent, UINT id);
    void SetImages(const RECT& r, HBITMAP emptySheet, HBITMAP fullSheet);
    void SetRange(int minimum, int maximum);
    void SetPos(int value);
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    void SetHint(const std::string& text) { hint_ = text; }
    int Pos() const { return position_; }

    static std::span<const win::MessageRow<CFillSlider>> MessageMap();

  private:
    void Follow(POINT at);
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown();
    LRESULT OnMouseMove(UINT keys, POINT at);
    LRESULT OnLButtonUp(UINT keys, POINT at);
    LRESULT OnCaptureChanged();
    LRESULT OnKillFocus();
    LRESULT OnKeyDown(UINT key, UINT data);
    LRESULT OnGetObject(WPARAM flags, LONG objectId);

    UINT id_ = 0;
    win::ScopedGdi<HBITMAP> empty_;
    win::ScopedGdi<HBITMAP> full_;
    bool dragging_ = false;
    RECT rect_{0, 0, 0, 0};
    HWND parent_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 10;
    int position_ = 0;
    bool enabled_ = true;
    std::string hint_;
};

}  // namespace skin
