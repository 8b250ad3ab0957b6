// A collection's report fields as the system's caps name them: the length
// each report id declares, and the caps as one line of text each, for the
// device report and back (a user's report rebuilt into a test layout).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "korrin/hid_system.h"

namespace korrin {

// Bits one cap spans: fields (or array slots) times their size. An array of
// buttons spans its slots, not one bit per usage it can name.
std::uint32_t CapBits(const ReportCap& cap);

// Every report id of one report type with the length it declares, the id
// byte included, lowest id first: where its last field ends, the report id
// byte plus the highest end bit over its caps, rounded up to whole bytes.
// Positions count the padding between fields (constant items are never among
// the caps); a sum of field sizes would not, so where a position is missing
// the sum of the id's field sizes stands in, a length the report has at
// least. Aliases are not counted again. None is longer than `bufferLength`,
// and the longest is given it: the system's buffer is as long as the type's
// longest report, trailing padding included. {0, buffer} when no cap names
// the type but the system gives it a buffer.
std::vector<ReportLength> DeclaredLengths(const std::vector<ReportCap>& caps, ReportType type,
                                          std::uint16_t bufferLength);

const char* ReportTypeName(ReportType type);

// "feature id 5 value page FF00 usage 0001 bits 8 count 8" (a range:
// "usage 0001-0003"; then " alias", " array" and " at 8" where so).
std::string CapText(const ReportCap& cap);
// The cap of such a text; nothing when it is none.
std::optional<ReportCap> ParseCap(std::string_view text);

}  // namespace korrin
