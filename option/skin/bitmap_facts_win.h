// Bitmaps the controls read for themselves: a picture file, a bitmap's size
// and the colour of one of its pixels.
#pragma once

#include <windows.h>

#include <string>

namespace skin {

// A picture file as a DIB section; null when it cannot be loaded.
HBITMAP LoadBitmapFile(const std::string& file);

// Width and height (a top-down bitmap's height counted positive); 0 x 0 for
// none.
SIZE BitmapSize(HBITMAP bitmap);

// The colour of pixel (x, y); CLR_INVALID outside the bitmap.
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);

}  // namespace skin
