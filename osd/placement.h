// Where the notice goes on the monitor that holds the pointer.
#pragma once

#include "osd/display_options.h"

namespace osd {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const ScreenRect&) const = default;
};

// Distance from the edges of the work area at 100 % display scale; smaller
// on a small screen.
inline constexpr int kEdgeMargin = 48;

// The notice's rectangle inside workArea: its size cut to the work area, set
// `margin` (kEdgeMargin at the display's scale) in from the edges that the
// placement names (less when the work area is too small for the margin),
// centred along the others.
ScreenRect PlaceNotice(const ScreenRect& workArea, int width, int height, Placement placement,
                       int margin = kEdgeMargin);

}  // namespace osd
