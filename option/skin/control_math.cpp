#include "option/skin/control_math.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>

// Slider values are rounded at exact halves, so every build must evaluate doubles
// in double precision: with the x87 unit's excess precision the 32-bit programs
// would round some clicks differently from the 64-bit build and the unit tests.
static_assert(FLT_EVAL_METHOD == 0,
              "doubles must be evaluated in double precision (i686: -msse2 -mfpmath=sse)");

namespace skin {

double TrackClickValue(int x, int trackLeft, int trackRight, int minimum, int maximum) {
    if (trackRight <= trackLeft)
        return minimum;
    // In floating point: a skin may place the track anywhere, and the
    // differences of far-apart ints do not fit an int.
    return (static_cast<double>(x) - trackLeft) * (static_cast<double>(maximum) - minimum) /
               (static_cast<double>(trackRight) - trackLeft) +
           minimum;
}

int RoundAndClamp(double value, bool rounding, int minimum, int maximum) {
    if (std::isnan(value))
        return minimum;
    const double whole = rounding ? std::floor(value + 0.5) : std::trunc(value);
    if (whole >= maximum)
        return maximum;
    if (whole <= minimum)
        return minimum;
    return static_cast<int>(whole);
}

std::uint32_t ClampUnsigned(std::uint32_t value, std::uint32_t minimum, std::uint32_t maximum) {
    if (value > maximum)
        return maximum;
    if (value < minimum)
        return minimum;
    return value;
}

int ThumbX(std::uint32_t value, std::uint32_t minimum, std::uint32_t maximum, int leftBound,
           int rightBound, int thumbWidth) {
    const std::int64_t travel = static_cast<std::int64_t>(rightBound) - leftBound - thumbWidth;
    if (maximum <= minimum || travel <= 0 || value <= minimum)
        return leftBound;
    // A track wider than any screen (the skin placed it) can make the exact
    // product overflow 64 bits; it is then worked out in floating point.
    const std::uint64_t span = std::uint64_t{maximum} - minimum;
    const std::uint64_t part = std::uint64_t{value} - minimum;
    std::uint64_t product = 0;
    const std::uint64_t offset =
        __builtin_mul_overflow(static_cast<std::uint64_t>(travel), part, &product)
            ? static_cast<std::uint64_t>(static_cast<double>(travel) * static_cast<double>(part) /
                                             static_cast<double>(span) +
                                         0.5)
            : (product + span / 2) / span;
    // Nearest pixel, not truncated: a thumb let go where it was put must read
    // back as the same value (release rounds), at every track length.
    return static_cast<int>(leftBound + static_cast<std::int64_t>(offset));
}

std::int64_t ThumbDragValue(int thumbLeft, std::uint32_t minimum, std::uint32_t maximum,
                            int leftBound, int rightBound, int thumbWidth) {
    const std::int64_t travel = static_cast<std::int64_t>(rightBound) - thumbWidth - leftBound;
    if (travel <= 0)
        return minimum;
    const std::int64_t offset = static_cast<std::int64_t>(thumbLeft) - leftBound;
    const std::int64_t range = std::int64_t{maximum} - minimum;
    std::int64_t product = 0;
    if (!__builtin_mul_overflow(offset, range, &product))
        return std::int64_t{minimum} + product / travel;
    // Only a track far wider than any screen gets here (the skin placed it):
    // the exact product does not fit 64 bits, so the value is worked out in
    // floating point and kept within what an int64 holds.
    const double value = static_cast<double>(minimum) + static_cast<double>(offset) *
                                                            static_cast<double>(range) /
                                                            static_cast<double>(travel);
    return static_cast<std::int64_t>(std::clamp(value, -9.0e18, 9.0e18));
}

double ThumbReleaseValue(int thumbLeft, std::uint32_t minimum, std::uint32_t maximum, int leftBound,
                         int rightBound, int thumbWidth) {
    const double travel = static_cast<double>(rightBound) - thumbWidth - leftBound;
    if (travel <= 0)
        return minimum;
    return (static_cast<double>(maximum) - minimum) * (static_cast<double>(thumbLeft) - leftBound) /
               travel +
           minimum;
}

int ClampThumbLeft(int wantedLeft, int leftBound, int rightBound, int thumbWidth) {
    // 64-bit sums: bounds and width come from the skin and may be far apart.
    std::int64_t left = wantedLeft;
    if (left + thumbWidth > rightBound)
        left = std::int64_t{rightBound} - thumbWidth;
    if (left < leftBound)
        left = leftBound;
    return static_cast<int>(std::clamp<std::int64_t>(left, INT_MIN, INT_MAX));
}

int SliderValueAfter(SliderMove move, int value, int minimum, int maximum) {
    const std::int64_t low = minimum;
    const std::int64_t high = std::max(minimum, maximum);
    std::int64_t next = value;
    switch (move) {
        case SliderMove::StepDown:
            next -= 1;
            break;
        case SliderMove::StepUp:
            next += 1;
            break;
        case SliderMove::PageDown:
            next -= kSliderPageSteps;
            break;
        case SliderMove::PageUp:
            next += kSliderPageSteps;
            break;
        case SliderMove::ToMinimum:
            next = low;
            break;
        case SliderMove::ToMaximum:
            next = high;
            break;
    }
    return static_cast<int>(std::clamp(next, low, high));
}

GroupRun GroupHolding(std::span<const int> table, int id) {
    GroupRun run;
    bool inside = false, holds = false;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int entry = table[i];
        if (entry < kGroupEnd) {
            run = GroupRun{i + 1, 0, kGroupEnd - entry};
            inside = true;
            holds = false;
        } else if (entry == kGroupEnd) {
            if (inside && holds)
                return run;
            inside = false;
        } else if (inside) {
            ++run.count;
            holds = holds || entry == id;
        }
    }
    return {};
}

int FillWidth(int position, int minimum, int maximum, int width) {
    if (maximum <= minimum || width <= 0)
        return 0;
    const std::int64_t w = (static_cast<std::int64_t>(position) - minimum) * width /
                           (static_cast<std::int64_t>(maximum) - minimum);
    return static_cast<int>(std::clamp<std::int64_t>(w, 0, width));
}

int FillValue(int x, int left, int right, int minimum, int maximum) {
    if (right <= left)
        return minimum;
    if (x < left)
        x = left;
    const std::int64_t range = static_cast<std::int64_t>(maximum) - minimum;
    const std::int64_t offset = static_cast<std::int64_t>(x) - left;
    const std::int64_t width = static_cast<std::int64_t>(right) - left;
    std::int64_t product = 0;
    std::int64_t v = 0;
    if (!__builtin_mul_overflow(range, offset, &product)) {
        v = minimum + product / width;
    } else {
        // A bar and a range both near 2^32 wide: the result is clamped below,
        // so floating point is exact enough.
        const double d = minimum + static_cast<double>(range) * static_cast<double>(offset) /
                                       static_cast<double>(width);
        v = static_cast<std::int64_t>(std::clamp(d, -9.0e18, 9.0e18));
    }
    return static_cast<int>(std::clamp<std::int64_t>(v, std::min(minimum, maximum), maximum));
}

int ReadDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (value <= INT_MAX + 1LL)
            value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

int RoundToStep(int value, int step) {
    if (step < 1)
        step = 1;
    const std::int64_t v =
        static_cast<std::int64_t>(step) * ((value + std::int64_t{step} / 2) / step);
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

int SpinTextLimit(int minimum, int maximum) {
    std::int64_t magnitude = maximum < 0 ? -std::int64_t{maximum} : maximum;
    int digits = 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++digits;
    }
    return digits + (minimum < 0 ? 1 : 0);
}

namespace {

int ClampRange(std::int64_t v, int minimum, int maximum) {
    if (v > maximum)
        v = maximum;
    if (v < minimum)
        v = minimum;
    return static_cast<int>(v);
}

// Rounding to the step can carry a value over an end of a range whose ends
// are not multiples of the step; the range wins.
int StepAndClamp(std::int64_t v, int step, int minimum, int maximum) {
    const int clamped = ClampRange(v, minimum, maximum);
    return ClampRange(RoundToStep(clamped, step), minimum, maximum);
}

}  // namespace

SpinResult SpinUp(int current, int step, int minimum, int maximum) {
    if (step < 1)
        step = 1;
    if (current > maximum)
        return {false, current};
    return {true, StepAndClamp(std::int64_t{current} + step, step, minimum, maximum)};
}

SpinResult SpinDown(int current, int step, int minimum, int maximum) {
    if (step < 1)
        step = 1;
    if (current < minimum)
        return {false, current};
    return {true, StepAndClamp(std::int64_t{current} - step, step, minimum, maximum)};
}

SpinCommit SpinCommitText(std::string_view text, int step, int minimum, int maximum) {
    const int number = ReadDecimal(text);
    const int result = ClampRange(RoundToStep(number, step), minimum, maximum);
    if (result != number)
        return {result, true};
    return {number, false};
}

SpinCommit SpinEnterText(std::string_view text, int storedValue, int minimum, int maximum) {
    const std::size_t start = text.find_first_of("-+123456789");
    const std::string_view rest =
        start == std::string_view::npos ? std::string_view{} : text.substr(start);
    const int result = ClampRange(ReadDecimal(rest), minimum, maximum);
    char written[16];
    std::snprintf(written, sizeof written, "%d", result);
    const bool rewrite = storedValue != result || text != written;
    return {result, rewrite};
}

std::string NumericPrefix(std::string_view text, bool signAllowed) {
    const char* allowed = signAllowed ? "0123456789-+" : "0123456789";
    const std::size_t end = text.find_first_not_of(allowed);
    return std::string(text.substr(0, end));
}

bool NumericKeyAllowed(unsigned vk) {
    if (vk >= 0x30 && vk <= 0x39)
        return true;  // main keyboard digits
    if (vk >= 0x60 && vk <= 0x69)
        return true;  // keypad digits
    switch (vk) {
        case 0x08:  // Backspace
        case 0x0D:  // Enter
        case 0x23:  // End
        case 0x24:  // Home
        case 0x25:  // Left
        case 0x27:  // Right
        case 0x2E:  // Delete
        case 0xBB:  // plus of the main keyboard
        case 0xBD:  // minus of the main keyboard
            return true;
        default:
            return false;
    }
}

ButtonImage ChooseButtonImage(bool latchingMode, bool latched, bool hover, bool selected,
                              bool disabled) {
    if (latchingMode) {
        if (disabled)
            return ButtonImage::Disabled;
        if (latched)
            return ButtonImage::Down;
        if (hover)
            return ButtonImage::Over;
        return ButtonImage::Normal;
    }
    if (latched && !disabled)
        return ButtonImage::Down;
    if (selected)
        return ButtonImage::Down;
    if (hover)
        return ButtonImage::Over;
    if (disabled)
        return ButtonImage::Disabled;
    return ButtonImage::Normal;
}

RgnPaint ChooseRgnImage(bool latched, RgnState visualState, bool enabled) {
    RgnState state = visualState;
    if (!enabled)
        state = RgnState::Disabled;
    if (enabled && state == RgnState::Disabled)
        state = RgnState::Normal;
    if (latched)
        return {state, ButtonImage::Down};
    switch (state) {
        case RgnState::Over:
            return {state, ButtonImage::Over};
        case RgnState::Down:
            return {state, ButtonImage::Down};
        case RgnState::Disabled:
            return {state, ButtonImage::Disabled};
        default:
            return {state, ButtonImage::Normal};
    }
}

ItemSize MeasureMenuItem(unsigned itemId, int itemHeight, int menuWidth) {
    if (itemId == 0)
        return {menuWidth, 5};
    if (itemId == 1)
        return {menuWidth, 0};
    return {menuWidth, itemHeight + 3};
}

int WidenMenu(int menuWidth, std::size_t textLength, int leftMargin, int rightMargin) {
    const std::int64_t wanted =
        8 * static_cast<std::int64_t>(textLength) + leftMargin + rightMargin;
    return wanted > menuWidth ? static_cast<int>(std::min<std::int64_t>(wanted, INT_MAX))
                              : menuWidth;
}

PickBounds PickerBounds(int percent) {
    const auto at = [percent](int v) { return static_cast<int>((v * percent + 50) / 100); };
    return PickBounds{at(6), at(6), at(197), at(20)};
}

PickPoint PickerPoint(int x, int y, int percent) {
    // The pick area of the 100 % strip, at the strip's scale.
    const PickBounds area = PickerBounds(percent);
    const int grow = static_cast<int>((3 * percent + 50) / 100);
    PickPoint p{};
    p.hit = x >= area.left - grow && x < area.right + grow && y >= area.top - grow &&
            y < area.bottom + grow;
    p.x = std::clamp(x, area.left, area.right);
    p.y = std::clamp(y, area.top, area.bottom);
    p.markerX = p.x - area.left;
    p.markerY = p.y - area.top;
    return p;
}

PickSpot MovePick(PickSpot at, PickMove move, int step, const PickBounds& bounds) {
    const int right = std::max(bounds.left, bounds.right);
    const int bottom = std::max(bounds.top, bounds.bottom);
    int x = at.x + (move == PickMove::Right ? step : move == PickMove::Left ? -step : 0);
    if (move == PickMove::RowStart || move == PickMove::RowEnd)
        x = move == PickMove::RowStart ? bounds.left : right;
    const int y = at.y + (move == PickMove::Down ? step : move == PickMove::Up ? -step : 0);
    return PickSpot{std::clamp(x, bounds.left, right), std::clamp(y, bounds.top, bottom)};
}

int LargePickStep(int percent) {
    return std::max(1, static_cast<int>((10 * percent + 50) / 100));
}

std::string& HintString() {
    static std::string hint;
    return hint;
}

bool SameHint(std::string_view text) {
    const std::string& hint = HintString();
    if (hint.size() != text.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(hint[i]) != lower(text[i]))
            return false;
    }
    return true;
}

}  // namespace skin
