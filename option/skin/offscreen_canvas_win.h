// A control's picture drawn off the screen first and put on it in one block
// transfer, so that a repaint never shows its layers one by one.
#pragma once

#include <windows.h>

#include "common/win/scoped_win.h"

namespace skin {

class OffscreenCanvas {
  public:
    // A bitmap compatible with `screen` of `width` x `height` (at least
    // 1 x 1), selected into a memory DC.
    OffscreenCanvas(HDC screen, int width, int height);
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;

    HDC Dc() const { return memory_.Get(); }
    // Copies `width` x `height` from (0, 0) to (0, 0) of `screen`.
    void CopyTo(HDC screen) const;

  private:
    int width_;
    int height_;
    win::ScopedDc memory_;
    win::ScopedGdi<HBITMAP> bitmap_;
    win::ScopedSelect selected_;
};

}  // namespace skin
