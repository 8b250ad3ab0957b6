#include "korrin/virtual_report.h"

#include <algorithm>
#include <cstdio>

#include "korrin/device_report.h"
#include "korrin/virtual_device_protocol.h"

namespace korrin {

namespace {

constexpr std::uint16_t kVendorPage = 0xFF00;

// One report of `length` bytes (its id byte included), as one value cap of
// byte-sized fields.
void AddReport(CollectionInfo& c, ReportType type, std::uint8_t id, std::uint16_t length) {
    ReportSpec& spec = type == ReportType::Input    ? c.input
                       : type == ReportType::Output ? c.output
                                                    : c.feature;
    spec.length = length;
    spec.reports = {{id, length}};
    ReportCap cap;
    cap.type = type;
    cap.reportId = id;
    cap.usagePage = c.usagePage;
    cap.usageMin = 1;
    cap.usageMax = 1;
    cap.bitSize = 8;
    cap.reportCount = static_cast<std::uint16_t>(length - 1);
    cap.bitPosition = 0;
    c.caps.push_back(cap);
}

}  // namespace

CollectionInfo VirtualMouseCollection(const DeviceDescription& description, std::uint16_t vendorId,
                                      std::uint16_t productId) {
    char path[160];
    std::snprintf(path, sizeof path, vdev::kDevicePathFormat, vendorId, productId);
    CollectionInfo c;
    c.path = path;
    c.deviceKey = "virtual mouse";
    c.vendorId = vendorId;
    c.productId = productId;
    c.usagePage = description.event.usagePage.value_or(kVendorPage);
    c.usage = 0x0001;
    c.product = "Virtual mouse";
    const std::uint8_t eventId = description.event.reportId.value_or(0);
    // At least the id byte and one more, whatever the description says.
    AddReport(c, ReportType::Input, eventId, std::max<std::uint16_t>(description.event.length, 2));
    AddReport(c, ReportType::Output, description.chunk.reportId.value_or(0), 65);
    AddReport(c, ReportType::Feature, description.command.reportId.value_or(0), 9);
    return c;
}

std::string VirtualMouseReport(const DescriptionLoad& description, std::uint16_t vendorId,
                               std::uint16_t productId, const std::string& channels) {
    const CollectionInfo c = VirtualMouseCollection(description.description, vendorId, productId);
    char head[64];
    std::snprintf(head, sizeof head, "HID device vid %04X pid %04X\r\n", vendorId, productId);
    return std::string(head) + DescriptionLine(description) + "\r\ndevice " + c.deviceKey +
           ": the mouse in use\r\n" + InterfaceText(c) + channels;
}

}  // namespace korrin
