// What the virtual mouse stands for, in the device report's own terms: one
// vendor collection with the command, chunk and event reports the
// description names. Its report then reads back, like a user's, into a
// layout the channel choice can be run against.
#pragma once

#include <cstdint>
#include <string>

#include "korrin/device_description.h"
#include "korrin/hid_system.h"

namespace korrin {

// The collection, as a real system would list the mouse's vendor interface.
CollectionInfo VirtualMouseCollection(const DeviceDescription& description, std::uint16_t vendorId,
                                      std::uint16_t productId);

// The device report of the virtual mouse: heading, the description in use,
// the collection, then `channels` (its channel lines, CRLF each).
std::string VirtualMouseReport(const DescriptionLoad& description, std::uint16_t vendorId,
                               std::uint16_t productId, const std::string& channels);

}  // namespace korrin
