// The DPI colour dialog's colour: its three spin boxes (ids 400, 401, 402)
// each replace one byte of it.
#pragma once

#include <cstdint>

namespace option {

inline constexpr int kSpinRed = 400;
inline constexpr int kSpinGreen = 401;
inline constexpr int kSpinBlue = 402;

// Spin box `id` reported `value`: the colour with that byte replaced; any
// other id leaves it as it is. The top byte is always 0.
std::uint32_t ColorAfterSpin(std::uint32_t color, int id, int value);

}  // namespace option
