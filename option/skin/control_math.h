// The arithmetic of the skinned value controls and buttons: slider values and
// thumb positions, the fill bar, the spin box, numeric filtering, the image a
// button shows and the size of menu items. Kept free of Win32 so that every
// edge is checked natively; the window classes only call these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace skin {

// ---- Sliders -------------------------------------------------------------

// Value under a click on a track, before rounding:
// (x - left) * (max - min) / (right - left) + min. An empty track gives min.
double TrackClickValue(int x, int trackLeft, int trackRight, int minimum, int maximum);

// Nearest integer (half up) or truncation toward zero, then clamped to
// minimum..maximum. Works in floating point so far-off values cannot
// overflow the conversion.
int RoundAndClamp(double value, bool rounding, int minimum, int maximum);

// The thumb keeps its range and position as unsigned numbers.
std::uint32_t ClampUnsigned(std::uint32_t value, std::uint32_t minimum, std::uint32_t maximum);

// Left edge of the thumb for a position, to the nearest pixel:
// left + (right - left - thumbWidth) * (value - min) / (max - min).
// An empty range puts the thumb at the left bound; a thumb wider than the
// track stays at the left bound.
int ThumbX(std::uint32_t value, std::uint32_t minimum, std::uint32_t maximum, int leftBound,
           int rightBound, int thumbWidth);

// Value while dragging (integer) and at release (floating point, before
// rounding) from the thumb's left edge:
// min + (thumbLeft - leftBound) * (max - min) / (rightBound - thumbWidth - leftBound).
std::int64_t ThumbDragValue(int thumbLeft, std::uint32_t minimum, std::uint32_t maximum,
                            int leftBound, int rightBound, int thumbWidth);
double ThumbReleaseValue(int thumbLeft, std::uint32_t minimum, std::uint32_t maximum, int leftBound,
                         int rightBound, int thumbWidth);

// Keeps a dragged thumb's left edge so that the thumb stays within the bounds.
int ClampThumbLeft(int wantedLeft, int leftBound, int rightBound, int thumbWidth);

// What a key does to a slider: arrows one step, Page Up/Down ten steps,
// Home/End the ends.
enum class SliderMove { StepDown, StepUp, PageDown, PageUp, ToMinimum, ToMaximum };
inline constexpr int kSliderPageSteps = 10;

// The value after `move`, clamped to minimum..maximum.
int SliderValueAfter(SliderMove move, int value, int minimum, int maximum);

// ---- Keyboard ------------------------------------------------------------

// Marks in a window's table of control ids: the entries between
// GroupStart(columns) and kGroupEnd are one group (a radio group, a row of
// level buttons, a grid of `columns` per row), which the arrow keys walk:
// Left and Right by one, Up and Down by a row (by one in a single row).
inline constexpr int kGroupEnd = -2;
constexpr int GroupStart(int columns = 1) {
    return kGroupEnd - columns;
}

struct GroupRun {
    std::size_t first = 0;  // index in the table of the group's first control
    std::size_t count = 0;  // 0: not in a group
    int columns = 1;
};
// The group of `table` that holds control `id`.
GroupRun GroupHolding(std::span<const int> table, int id);

// ---- Fill bar ------------------------------------------------------------

// Width of the full part: (pos - min) * width / (max - min), within 0..width.
int FillWidth(int position, int minimum, int maximum, int width);

// Value for a point (parent client x): a point left of the bar counts as its
// left edge; min + (max - min) * (x - left) / (right - left), clamped.
int FillValue(int x, int left, int right, int minimum, int maximum);

// ---- Spin box and numeric edit fields ------------------------------------

// Decimal reading as the C library does it: leading white space, one sign,
// digits up to the first other character; empty or no digits gives 0.
// Saturates at the 32-bit limits.
int ReadDecimal(std::string_view text);

// step * ((value + step / 2) / step) with integer division; a step below 1
// counts as 1.
int RoundToStep(int value, int step);

// Characters the edit field of a spin box accepts for a range: the decimal
// digits of the maximum, plus one for a sign when the minimum is negative.
int SpinTextLimit(int minimum, int maximum);

struct SpinResult {
    bool changed;  // false: the button did nothing
    int value;
};

// The up and down buttons, from the number in the edit field. The result is
// always within the range.
SpinResult SpinUp(int current, int step, int minimum, int maximum);
SpinResult SpinDown(int current, int step, int minimum, int maximum);

struct SpinCommit {
    int value;
    bool rewriteText;  // the text must show `value` written with "%d"
};

// The edit field finished a change or lost the focus.
SpinCommit SpinCommitText(std::string_view text, int step, int minimum, int maximum);

// Enter in the edit field: characters before the first of "-+123456789" are
// dropped, the number is read and clamped.
SpinCommit SpinEnterText(std::string_view text, int storedValue, int minimum, int maximum);

// The longest leading run of characters of "0123456789" (and "-+" when the
// sign is allowed).
std::string NumericPrefix(std::string_view text, bool signAllowed);

// Virtual-key codes that a numeric edit field lets through: digits of the
// main keyboard and the keypad, Backspace, Enter, End, Home, Left, Right,
// Delete and the main keyboard's plus and minus.
bool NumericKeyAllowed(unsigned virtualKey);

// ---- Buttons ----------------------------------------------------------------

enum class ButtonImage { Normal = 0, Over = 1, Down = 2, Disabled = 3 };

// The image of a skinned or colour-swatch button. `selected` is the system's
// "held down" drawing state.
ButtonImage ChooseButtonImage(bool latchingMode, bool latched, bool hover, bool selected,
                              bool disabled);

// What the shaped button shows of the pointer and of its window's state.
enum class RgnState { Normal = 0, Over = 1, Down = 2, Disabled = 3 };

// The state after the enabled check and the image to draw.
struct RgnPaint {
    RgnState state;
    ButtonImage image;
};
RgnPaint ChooseRgnImage(bool latched, RgnState visualState, bool enabled);

// ---- Popup menus -----------------------------------------------------------

struct ItemSize {
    int width;
    int height;
};

// Item id 0 is a separator (5 pixels high), id 1 takes no room, every other
// item is itemHeight + 3 pixels high. All items are as wide as the menu.
ItemSize MeasureMenuItem(unsigned itemId, int itemHeight, int menuWidth);

// The menu grows to at least 8 pixels per character plus the margins.
int WidenMenu(int menuWidth, std::size_t textLength, int leftMargin, int rightMargin);

// ---- Colour picker ---------------------------------------------------------

struct PickPoint {
    bool hit;     // the point lies in the pick area grown by 3 pixels
    int x, y;     // the point clamped into the pick area
    int markerX;  // marker position relative to the pick area
    int markerY;
};
PickPoint PickerPoint(int x, int y, int percent = 100);

// A pick area in client pixels, both edges included.
struct PickBounds {
    int left, top, right, bottom;
};
// The pick area of the colour strip at `percent` (6..197 by 6..20 at 100 %).
PickBounds PickerBounds(int percent = 100);

// The keyboard's pick point on a colour spectrum: the arrows move it by
// `step` pixels, Home and End to the ends of its row; it stays in `bounds`.
enum class PickMove { Left, Right, Up, Down, RowStart, RowEnd };
struct PickSpot {
    int x, y;
};
PickSpot MovePick(PickSpot at, PickMove move, int step, const PickBounds& bounds);
// The pixels of a large step (Ctrl with an arrow, Page Up and Down): ten at
// 100 %, as many more as the scale makes a pixel of the picture.
int LargePickStep(int percent);

// ---- Hint string -----------------------------------------------------------

// The process-wide hint string that buttons and controls write while the
// mouse is over them.
std::string& HintString();
// Case-insensitive comparison with the hint string.
bool SameHint(std::string_view text);

}  // namespace skin
