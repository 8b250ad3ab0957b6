// A small skin made by code: the gallery's own demo skin and the skin the
// tests build windows from. Writes plain 24-bit BMP files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gallery {

struct Color {
    std::uint8_t r, g, b;
};

// Writes a bottom-up 24-bit BMP; false when the file cannot be written.
bool WriteBmp24(const std::string& path, int width, int height,
                const std::function<Color(int x, int y)>& pixel);
// The same from top-down rows of red, green, blue bytes.
bool WriteBmp24Rows(const std::string& path, int width, int height,
                    const std::vector<std::uint8_t>& rgb);

struct TestSkinLayout {
    int width = 400;
    int height = 320;
};

// Colours of the four state sheets (uniform, so a control's image tells its state).
inline constexpr Color kNormalColor{40, 44, 52};
inline constexpr Color kOverColor{30, 90, 160};
inline constexpr Color kDownColor{160, 50, 40};
inline constexpr Color kDisableColor{100, 100, 100};

// The inside of a control's rectangle on a sheet of state colour `c`.
constexpr Color ControlColor(Color c) {
    return Color{static_cast<std::uint8_t>(c.r + 40), static_cast<std::uint8_t>(c.g + 40),
                 static_cast<std::uint8_t>(c.b + 40)};
}

// Points of the mask: outside (white) and inside.
inline constexpr int kOutsideCornerX = 4, kOutsideCornerY = 4;  // top-left cut corner
inline constexpr int kHoleLeft = 350, kHoleTop = 12, kHoleRight = 390, kHoleBottom = 40;

// Control keys of the gallery skin ("1".."12") and their placements.
struct TestControl {
    const char* key;
    const char* value;
};
const std::vector<TestControl>& TestControls();

// Writes "gallery.ini", its mask and four sheets, "slider.bmp" (a 10 x 16
// thumb on a magenta background) and "rgn_mask.bmp" into `folder` (which
// must exist; it ends with a separator). Returns false on a write error.
bool WriteTestSkin(const std::string& folder, const TestSkinLayout& layout = {});

}  // namespace gallery
