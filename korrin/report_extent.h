// How long each report id of a report type is, from the system's caps. The
// extent of an id is where its last field ends: the report id byte plus the
// highest end bit over its caps, rounded up to whole bytes. Positions count
// the padding between fields (constant items are never among the caps); a
// sum of field sizes would not.
#pragma once

#include <cstdint>
#include <vector>

#include "korrin/hid_system.h"

namespace korrin {

// Bits one caps entry spans: fields (or array slots) times their size. An
// array of buttons spans its slots, not one bit per usage it can name.
std::uint32_t FieldBits(const FieldCaps& caps);

// Every report id named by `caps` (lowest first) with its extent, the id
// byte included. Where a position is missing the sum of the id's field sizes
// stands in, a length the report has at least. None is longer than
// `bufferLength`, and the longest is given it: the system's buffer is as long
// as the type's longest report, trailing padding included. {0, bufferLength}
// when the caps name no id.
std::vector<ReportLength> ReportExtents(const std::vector<FieldCaps>& caps,
                                        std::uint16_t bufferLength);

}  // namespace korrin
