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

// Every report id of one report type with the length its fields declare, the
// id byte included, lowest id first. The fields of one id add up to its
// report; padding (constant fields) is not among the caps, so a sum can fall
// short: the longest report of the type is given the buffer length the
// system states, and with a single id that length is exact. {0, buffer}
// when no cap names the type but the system gives it a buffer.
std::vector<ReportLength> DeclaredLengths(const std::vector<ReportCap>& caps, ReportType type,
                                          std::uint16_t bufferLength);

const char* ReportTypeName(ReportType type);

// "feature id 5 value page FF00 usage 0001 bits 8 count 8" (a range:
// "usage 0001-0003"; then ", range", ", alias" and "at bit 8" where so).
std::string CapText(const ReportCap& cap);
// The cap of such a text; nothing when it is none.
std::optional<ReportCap> ParseCap(std::string_view text);

}  // namespace korrin
