// Where a notice appears and how long it stays: the two values that Monitor
// forwards from the OSD settings record (offsets 32 and 36) in message kMsgDeviceArrival.
//
//   first value  (int16, high word of lParam): the place on the screen
//       0 bottom centre (the default), 1 top left, 2 top centre, 3 top right,
//       4 centre, 5 bottom left, 6 bottom right; anything else is the default.
//   second value (uint16, low word of lParam): milliseconds the notice stays
//       fully visible before it fades; 0 is the default of 1500 ms, other
//       values are held to 500..10000 ms so that a notice can neither flash
//       by unseen nor stay on the screen for minutes.
//
// The values live in config.ini with the rest of the record, so the display
// program reads them from there at start and needs no store of its own.
#pragma once

#include <cstdint>

#include "common/settings/osd_settings.h"

namespace osd {

enum class Placement : int {
    BottomCentre = 0,
    TopLeft = 1,
    TopCentre = 2,
    TopRight = 3,
    Centre = 4,
    BottomLeft = 5,
    BottomRight = 6,
};

inline constexpr int kDefaultHoldMs = 1500;
inline constexpr int kMinHoldMs = 500;
inline constexpr int kMaxHoldMs = 10000;

struct DisplayOptions {
    Placement placement = Placement::BottomCentre;
    int holdMs = kDefaultHoldMs;
};

DisplayOptions DecodeDisplayOptions(std::int16_t first, std::uint16_t second);
// From the lParam of message kMsgDeviceArrival: first value in the high word.
DisplayOptions DisplayOptionsFromMessage(std::uint32_t lParam);
// From the record as stored: the low halves of the ints at offsets 32 and 36,
// exactly what Monitor forwards.
DisplayOptions DisplayOptionsFromRecord(const settings::OsdSettings& record);

}  // namespace osd
