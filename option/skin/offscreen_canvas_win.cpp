#include "option/skin/offscreen_canvas_win.h"

#include <algorithm>

namespace skin {

OffscreenCanvas::OffscreenCanvas(HDC screen, int width, int height)
    : width_(width),
      height_(height),
      memory_(CreateCompatibleDC(screen)),
      bitmap_(CreateCompatibleBitmap(screen, std::max(width, 1), std::max(height, 1))),
      selected_(memory_.Get(), bitmap_.Get()) {}

void OffscreenCanvas::CopyTo(HDC screen) const {
    BitBlt(screen, 0, 0, width_, height_, memory_.Get(), 0, 0, SRCCOPY);
}

}  // namespace skin
