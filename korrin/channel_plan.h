// Which collection of the mouse carries what. The 8-byte command reports need
// a feature report; the 64-byte chunks an output report, or a feature report
// when the device has no output report of their length. Every report id of a
// collection whose buffer (the length the system states for the type) holds
// the payload after the id byte is a candidate; the length an id declares
// only ranks it.
//
// Candidates are ranked by one rule, best first:
//   1. the choice remembered for this device (the device confirmed it);
//   2. the usage page, report id and report type the device description
//      prefers for the role, when it names any and the device offers them;
//   3. any collection before a keyboard or keypad (reached without access);
//   4. for chunks, an output report before a feature report;
//   5. a vendor-defined usage page (0xFF00 and up) before a standard one;
//   6. a report id declared exactly as long as id + payload, then one
//      declared longer, then one declared shorter;
//   7. the order the system listed the collections in, then the shorter
//      declared length, then the lower id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "korrin/device_description.h"
#include "korrin/hid_system.h"

namespace korrin {

inline constexpr std::size_t kCommandLength = 8;
inline constexpr std::size_t kChunkLength = 64;
inline constexpr std::uint16_t kVendorUsagePageFirst = 0xFF00;

bool IsVendorPage(std::uint16_t usagePage);

// Keyboards and keypads (generic desktop 0x06, 0x07): what is typed there is
// none of the library's business. Such a collection is a candidate of last
// resort for sending, opened without access (a handle that can set feature
// and output reports and can never read a keystroke); it is never read.
bool IsKeyboardCollection(Usage usage);
// Digitizers (pens, touch screens, touch pads): never opened at all.
bool IsDigitizerCollection(Usage usage);
// Keyboards and digitizers: never read, nor opened for reading.
bool IsPrivateCollection(Usage usage);

enum class Role { Command, Chunk };
const char* RoleName(Role role);

// One way to carry a role's reports.
struct ChannelChoice {
    std::size_t index = 0;  // into the collections given
    std::string path;
    TransferKind kind = TransferKind::SetFeature;
    std::uint8_t reportId = 0;
    std::uint16_t declaredLength = 0;  // of the report id, id byte included
    std::uint16_t bufferLength = 0;    // what the system takes for the type
    bool keyboard = false;             // opened without access, and only so
    std::string why;                   // for the capture: "vendor page, exact length 9"
};

// What is remembered of a choice the device confirmed: enough to find it
// again among the candidates of the same mouse on any USB port. The
// interface path holds the port's instance; these do not.
struct RememberedChoice {
    std::string interfaceNumber;  // "mi_01" from the path; empty when it names none
    std::string collection;       // "col03" from the path; empty when it names none
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    TransferKind kind = TransferKind::SetFeature;
    std::uint8_t reportId = 0;
    bool operator==(const RememberedChoice&) const = default;
};

// The remembered form of a candidate of `collection`.
RememberedChoice RememberedFor(const CollectionInfo& collection, const ChannelChoice& choice);
// "interface mi_01, collection col03, usage page FF00 usage 0001, feature
// report, report id 5" for the device report.
std::string RememberedText(const RememberedChoice& choice);
// The marker `prefix` ("mi_", "col") and the characters after it up to the
// next '&' or '#', in lower case; empty when the path has none.
std::string PathMarker(std::string_view path, std::string_view prefix);

// Every way the collections can carry the role, best first. A preferred
// report id is taken wherever it is long enough for the payload.
std::vector<ChannelChoice> RankCandidates(const std::vector<CollectionInfo>& collections, Role role,
                                          const std::optional<RememberedChoice>& remembered = {},
                                          const ChannelPreference& preferred = {});

// "feature report", "output report (write)", ... for the capture.
const char* KindName(TransferKind kind);

// The collections of the selected device among everything described.
std::vector<CollectionInfo> CollectionsOf(const std::vector<CollectionInfo>& all,
                                          std::uint16_t vendorId, std::uint16_t productId);

// Every HID interface of the device now present, described; digitizers are
// left out, unopened whenever the listing names their usage, and keyboards
// are described only with the handle without access that describing uses.
// Each carries the key of the physical device it belongs to.
std::vector<CollectionInfo> Survey(HidSystem& system, std::uint16_t vendorId,
                                   std::uint16_t productId);

// The device key a path stands for when the system names no container or
// parent: the path before its collection marker ("&col01", "&mi_00"), in
// lower case. It keeps one mouse's collections together; two identical mice
// fall into one group this way, as they would without grouping.
std::string DeviceKeyFromPath(std::string_view path);

// One physical mouse: its collections in the order the system listed them.
struct DeviceGroup {
    std::string key;
    std::vector<CollectionInfo> collections;
};

// The collections grouped by device, groups in the order first listed.
std::vector<DeviceGroup> GroupByDevice(const std::vector<CollectionInfo>& collections);

// The mouse to use among those listed: the one with key `preferred` while it
// is listed with a command candidate, else the first listed that has one.
// Nothing (empty key and collections) when none has.
DeviceGroup SelectMouse(const std::vector<CollectionInfo>& collections,
                        const std::string& preferred);

}  // namespace korrin
