// What a screen reader reads for the skinned controls' values: the unit the
// control shows, and colours as their three channels. Kept free of Win32 so
// that the texts are checked natively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace skin {

// How a slider shows its position: position x scale, then the unit ("" for
// a bare number).
struct ValueUnit {
    int scale = 1;
    std::string unit;
};

// "400 CPI" for position 4 with scale 100 and unit "CPI"; "7" without a unit.
std::string ValueText(int position, const ValueUnit& unit);

// "from 100 to 16000 CPI": the range of a slider in the unit shown.
std::string RangeText(int minimum, int maximum, const ValueUnit& unit);

// "red 255, green 0, blue 0" for a 0x00BBGGRR colour.
std::string ColorText(std::uint32_t color);

}  // namespace skin
