// Window regions from mask pictures.
#pragma once

#include <windows.h>

namespace skin {

// A region covering every pixel of `mask` whose colour lies outside
// key..key + tolerance (per channel, capped at 255); null when the bitmap is
// missing or no device context can be made. Rows go into region data in
// batches of 2000 rectangles that are merged by union.
HRGN CreateRegionFromMask(HBITMAP mask, COLORREF key, COLORREF tolerance);

}  // namespace skin
