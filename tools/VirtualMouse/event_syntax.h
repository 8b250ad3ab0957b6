// Device event codes the virtual mouse can inject, by raw value or by name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vmouse {

// Accepted forms (case-insensitive):
//   0x40000103 or 1073742083     any raw 32-bit code
//   press:N / release:N          button N (1..15), category 0x4000
//   press5:N / release5:N        button N, category 0x5000 (no notice)
//   launch:N / launch-release:N  button N (1..15), category 0x6000 + N, data
//                                0 (pressed) or 0x0100 (released)
//   cpi:N                        CPI level N (1..8), category 0x0700
//   rate:N                       report interval N ms (1, 2, 4, 8), category 0x0500
//   sensitivity:X,Y              sensitivities 1..20, category 0xC000
//   profile:N                    profile N (1..5), category 0x7000
//   tilt:left / tilt:right       category 0x1000, data 255 / 1
//   media:N / media-release:N    media key N (32..39), category 0xF000
//   option                       open the configuration, category 0xA000
std::optional<std::uint32_t> ParseEventSpec(std::string_view spec);

// Examples of every named form, for the window's list.
std::vector<std::string> NamedEventExamples();

}  // namespace vmouse
