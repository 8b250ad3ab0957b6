// The device report's description of the mouse's collections, and the way
// back: a report a user saved (Get_DeviceReport, or the diagnostics report
// that quotes it) read into the collections it shows, so that the layout the
// user's system has can be rebuilt as a test's fake devices and the channel
// choice and event framing run against exactly that.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "korrin/hid_system.h"

namespace korrin {

// Every HID interface of the device, keyboards and digitizers included, in
// the system's order, described without access (their caps only: nothing is
// read from or sent to them) with their hardware ids and device key.
std::vector<CollectionInfo> DescribeEvery(HidSystem& system, std::uint16_t vendorId,
                                          std::uint16_t productId);

// The lines of one interface (CRLF): path, usage, ids and version, strings,
// hardware ids, report ids with lengths per type, and every cap.
std::string InterfaceText(const CollectionInfo& c);

// The heading of the library's recent lines in the report; each line
// follows indented by "  | ".
inline constexpr std::string_view kRecentHeading = "recent library lines, oldest first:";

// What a saved report shows.
struct ReportLayout {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    // Every interface listed, deviceKey from the device it is listed under.
    std::vector<CollectionInfo> collections;
    // Paths the library found refusing read/write opens (held by the system
    // or another program).
    std::vector<std::string> refusesReadWrite;
    // Lines that look like part of an interface but could not be read; a
    // report with any is not rebuilt faithfully.
    std::vector<std::string> unreadable;
};

// Reads a device report, alone or inside a diagnostics report (CRLF or LF).
ReportLayout ParseDeviceReport(std::string_view text);

}  // namespace korrin
