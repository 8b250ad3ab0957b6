#include "osd/placement.h"

#include <algorithm>

namespace osd {

namespace {

enum class Along { Start, Middle, End };

int Position(int start, int length, int size, Along along, int edgeMargin) {
    const int room = length - size;
    const int margin = std::clamp(room / 2, 0, std::max(edgeMargin, 0));
    switch (along) {
        case Along::Start:
            return start + margin;
        case Along::Middle:
            return start + room / 2;
        case Along::End:
            return start + room - margin;
    }
    return start;
}

Along Horizontal(Placement p) {
    switch (p) {
        case Placement::TopLeft:
        case Placement::BottomLeft:
            return Along::Start;
        case Placement::TopRight:
        case Placement::BottomRight:
            return Along::End;
        default:
            return Along::Middle;
    }
}

Along Vertical(Placement p) {
    switch (p) {
        case Placement::TopLeft:
        case Placement::TopCentre:
        case Placement::TopRight:
            return Along::Start;
        case Placement::Centre:
            return Along::Middle;
        default:
            return Along::End;
    }
}

}  // namespace

ScreenRect PlaceNotice(const ScreenRect& workArea, int width, int height, Placement placement,
                       int margin) {
    const int w = std::clamp(width, 0, std::max(workArea.Width(), 0));
    const int h = std::clamp(height, 0, std::max(workArea.Height(), 0));
    const int x = Position(workArea.left, workArea.Width(), w, Horizontal(placement), margin);
    const int y = Position(workArea.top, workArea.Height(), h, Vertical(placement), margin);
    return ScreenRect{x, y, x + w, y + h};
}

}  // namespace osd
