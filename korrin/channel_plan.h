// Which collection of the mouse carries what. The 8-byte command reports need
// a feature report; the 64-byte chunks an output report, or a feature report
// when the device has no output report of their length. Each report id is
// chosen by length: the id whose declared length holds the payload after the
// id byte, the shortest such.
//
// Candidates are ranked by one rule, best first:
//   1. the choice remembered for this device (it worked before);
//   2. the usage page, report id and report type the device description
//      prefers for the role, when it names any and the device offers them;
//   3. for chunks, an output report before a feature report;
//   4. a vendor-defined usage page (0xFF00 and up) before a standard one;
//   5. a report exactly as long as id + payload before a longer one;
//   6. the order the system listed the collections in.
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

// Keyboards, keypads and digitizers (pens, touch screens, touch pads): what
// is typed or drawn there is none of the library's business. Such a collection
// is never opened, read or logged.
bool IsPrivateCollection(Usage usage);

// The report id of `spec` whose declared length holds `payload` bytes after
// the id byte, the shortest such (the lowest id among equals); nothing when
// no report of the type is long enough.
std::optional<ReportLength> ReportForPayload(const ReportSpec& spec, std::size_t payload);

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
    std::string why;                   // for the capture: "vendor page, exact length 9"
};

// What was remembered of a choice that worked: enough to find it again among
// the candidates of the same device.
struct RememberedChoice {
    std::string path;
    TransferKind kind = TransferKind::SetFeature;
    std::uint8_t reportId = 0;
    bool operator==(const RememberedChoice&) const = default;
};

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

// Every HID interface of the device now present, described; private
// collections are left out, unopened whenever the listing names their usage.
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
