// Which collection of the mouse carries what. The 8-byte command reports go
// as feature reports and the 64-byte chunks as output reports; each needs a
// collection whose report of that type holds the payload after the report id.
// A vendor-defined usage page is preferred (standard collections belong to
// the system), then a report exactly as long as id + payload (a longer one is
// padded), then the order the system listed them in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "korrin/hid_system.h"

namespace korrin {

inline constexpr std::size_t kCommandLength = 8;
inline constexpr std::size_t kChunkLength = 64;
inline constexpr std::uint16_t kVendorUsagePageFirst = 0xFF00;

bool IsVendorPage(std::uint16_t usagePage);

// The report id to put in byte 0: the collection's id for that report type,
// 0 only when it uses none. With several ids the lowest is taken and
// `ambiguous` says so (the capture records it).
struct ReportIdChoice {
    std::uint8_t id = 0;
    bool ambiguous = false;
};
ReportIdChoice ReportIdFor(const ReportSpec& spec);

enum class Role { Feature, Output };

// One usable collection for a role, with the framing its reports need.
struct ChannelChoice {
    std::size_t index = 0;  // into the collections given
    std::string path;
    std::uint8_t reportId = 0;
    std::uint16_t reportLength = 0;
    std::string why;  // for the capture: "vendor page, exact length 9" ...
};

// Every collection that can carry the role, best first.
std::vector<ChannelChoice> RankCandidates(const std::vector<CollectionInfo>& collections,
                                          Role role);

// Collections whose input reports may be our event report (vendor page, long
// enough for it); the others are only ever logged.
bool CarriesEvents(const CollectionInfo& collection);

// The collections of the selected device among everything described.
std::vector<CollectionInfo> CollectionsOf(const std::vector<CollectionInfo>& all,
                                          std::uint16_t vendorId, std::uint16_t productId);

// Every HID interface of the device now present, described.
std::vector<CollectionInfo> Survey(HidSystem& system, std::uint16_t vendorId,
                                   std::uint16_t productId);

}  // namespace korrin
