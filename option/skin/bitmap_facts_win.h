// Bitmaps the controls read for themselves: a picture file, a new 32-bit
// section, a bitmap's size and the colour of one of its pixels.
#pragma once

#include <windows.h>

#include <string>

namespace skin {

// A picture file as a DIB section; null when it cannot be loaded.
HBITMAP LoadBitmapFile(const std::string& file);

// A 32-bit top-down section of w x h, black, and its pixels in `bits`
// (rows of w * 4 bytes); null (and `bits` null) when it cannot be made.
HBITMAP MakeTopDownSection(int w, int h, void*& bits);

// Width and height (a top-down bitmap's height counted positive); 0 x 0 for
// none.
SIZE BitmapSize(HBITMAP bitmap);

// The colour of pixel (x, y); CLR_INVALID outside the bitmap.
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);

// Copies `image` to `dc` at (0, 0) in `w` x `h` (nothing for an empty image).
void BlitImage(HDC dc, HBITMAP image, int w, int h);

}  // namespace skin
