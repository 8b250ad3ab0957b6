// Everything the library assumes about the mouse, as data: which device it
// is, which collections and report ids carry commands and chunks, and how an
// input report is read as a device event. The built-in description is what
// the library has always done; a description file (korrin-device.ini beside
// the library) overrides it key by key, so that a mouse that frames its
// events differently needs a new file, not a new build.
//
// A file that cannot be taken whole (unknown key, bad number, a field beyond
// the report, a mask of zero, a category mapped twice...) is not taken at
// all: the built-in description is used and one line says why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "korrin/hid_system.h"

namespace korrin {

inline constexpr const char* kDescriptionFileName = "korrin-device.ini";

// One field of the event report: `size` bytes from byte `offset`, most
// significant first, and of those the bits of `mask` (one run of bits),
// shifted down to the mask's lowest bit.
struct EventField {
    std::uint16_t offset = 0;
    std::uint8_t size = 1;
    std::uint32_t mask = 0xFF;
    bool operator==(const EventField&) const = default;
};

// The category the mouse sends (`raw`) and the category the client knows.
struct CategoryMapping {
    std::uint16_t raw = 0;
    std::uint16_t category = 0;
    bool operator==(const CategoryMapping&) const = default;
};

// How an input report becomes an event code: category (high 16 bits) and
// data (low 16 bits).
struct EventFormat {
    std::optional<std::uint8_t> reportId;    // nothing: whatever the collection uses
    std::optional<std::uint16_t> usagePage;  // nothing: any vendor-defined page
    std::uint16_t length = 6;                // shorter reports are no events
    std::optional<EventField> tag = EventField{1, 1, 0xFF};  // nothing: no tag to match
    std::uint32_t tagValue = 0xE7;
    EventField category{2, 2, 0xFFFF};
    EventField data{4, 2, 0xFFFF};
    // Empty: the category as read. Else only the categories listed are events.
    std::vector<CategoryMapping> categories;
    bool operator==(const EventFormat&) const = default;
};

// Which report type carries the chunks.
enum class ChunkReport { Any, Output, Feature };

// The collection and report id a role should use when the device offers it.
struct ChannelPreference {
    std::optional<std::uint16_t> usagePage;
    std::optional<std::uint8_t> reportId;
    ChunkReport report = ChunkReport::Any;  // chunks only
    bool Any() const { return usagePage || reportId || report != ChunkReport::Any; }
    bool operator==(const ChannelPreference&) const = default;
};

// Default-constructed, the built-in description: what the library has always
// assumed.
struct DeviceDescription {
    // Nothing: the ids the client selects.
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;
    ChannelPreference command;
    // A feature report id the device answers harmlessly when read (its
    // settings, a status): read back on a channel after a send, an answer
    // confirms the channel. Nothing: no read-back, an event confirms.
    std::optional<std::uint8_t> readBackId;
    ChannelPreference chunk;
    EventFormat event;
    bool operator==(const DeviceDescription&) const = default;
};

// The description in use and where it came from.
struct DescriptionLoad {
    DeviceDescription description;
    std::string source = "built-in";  // or the file's path
    // The one line saying why a file was not taken; empty when it was (or
    // there was none).
    std::string problem;
};

// Parses a description file's text (named `fileName` in the problem line).
// A text that cannot be taken whole gives the built-in description and the
// problem.
DescriptionLoad ParseDescription(std::string_view text, const std::string& fileName);

// "device description: ..." for the device report and the capture.
std::string DescriptionLine(const DescriptionLoad& load);

// The event code in `report` (id byte first), or nothing when the report is
// not an event of `format`. Never reads beyond the report.
std::optional<std::uint32_t> DecodeEvent(const EventFormat& format,
                                         std::span<const std::uint8_t> report);
// A report of `length` bytes (at least the format's) carrying `code`; empty
// when the format cannot carry it (a category not in its table, a value
// wider than its field).
std::vector<std::uint8_t> EncodeEvent(const EventFormat& format, std::uint32_t code,
                                      std::size_t length);

// The collections whose input reports may be events of `format`: the
// format's usage page (any vendor page when it names none) with input
// reports of any length.
bool CarriesEvents(const EventFormat& format, const CollectionInfo& collection);

}  // namespace korrin
