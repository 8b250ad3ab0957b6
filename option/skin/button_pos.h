// One control placement of a skin description file: "name,x,y,w,h,caption".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace skin {

struct PosRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

struct ButtonPos {
    char name[40];
    PosRect rect;
    char caption[400];
    std::int32_t state;
};
static_assert(sizeof(ButtonPos) == 460);
static_assert(offsetof(ButtonPos, name) == 0);
static_assert(offsetof(ButtonPos, rect) == 40);
static_assert(offsetof(ButtonPos, caption) == 56);
static_assert(offsetof(ButtonPos, state) == 456);

// Fills `pos` from one BUTTONPOS value. The record is cleared first, so what
// the value does not supply stays 0 or empty; over-long names and captions are
// cut to fit. Always returns 1.
int ParseButtonPos(std::string_view value, ButtonPos& pos);

// Puts `text` (UTF-8) in the caption of `pos`; a text too long is cut before
// the character that would not fit, never inside one.
void SetCaption(ButtonPos& pos, std::string_view text);

// Width and height of a placement. Right and bottom were summed with 32-bit
// wrap-around, so the difference wraps the same way and gives back the
// value's own width and height; plain signed subtraction would overflow on a
// far-off placement.
inline std::int32_t Width(const PosRect& r) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(r.right) -
                                     static_cast<std::uint32_t>(r.left));
}
inline std::int32_t Height(const PosRect& r) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(r.bottom) -
                                     static_cast<std::uint32_t>(r.top));
}

}  // namespace skin
