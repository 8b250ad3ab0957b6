// The thumb of a slider track: a picture the user drags along the track.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/skin_messages.h"

namespace skin {

// The thumb of a track. Positions are in the track's client coordinates.
class SliderThumb : public win::WindowImpl<SliderThumb> {
  public:
    SliderThumb() = default;
    ~SliderThumb() override;

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

    static std::span<const win::MessageRow<SliderThumb>> MessageMap();

  private:
    friend class win::WindowImpl<SliderThumb>;  // the shared groups of rows
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

}  // namespace skin
