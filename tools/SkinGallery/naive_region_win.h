// The straightforward region builder, kept as a reference for checks and
// benchmarks: one GetPixel per pixel and one CombineRgn per run.
#pragma once

#include <windows.h>

namespace gallery {

HRGN NaiveRegionFromMask(HBITMAP mask, COLORREF key);

}  // namespace gallery
