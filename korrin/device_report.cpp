#include "korrin/device_report.h"

#include <charconv>
#include <cstdio>

#include "korrin/channel_plan.h"
#include "korrin/korrin_core.h"
#include "korrin/report_caps.h"

namespace korrin {

namespace {

// A device's own strings end at a line: control characters become blanks.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return text;
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// The number after each label, each label looked for after the number
// before it, in `base`; false when one is not there.
bool ReadNumbers(std::string_view text, std::initializer_list<std::string_view> labels, int base,
                 std::initializer_list<unsigned*> values) {
    auto value = values.begin();
    std::size_t from = 0;
    for (std::string_view label : labels) {
        const std::size_t at = text.find(label, from);
        if (at == std::string_view::npos)
            return false;
        const char* first = text.data() + at + label.size();
        const auto [end, error] = std::from_chars(first, text.data() + text.size(), **value, base);
        if (error != std::errc() || end == first)
            return false;
        from = static_cast<std::size_t>(end - text.data());
        ++value;
    }
    return true;
}

// "  feature buffer 9: id 5 length 9; id 6 length 65;" into `spec`.
bool ReadReportSpec(std::string_view text, ReportSpec& spec) {
    unsigned length = 0;
    if (!ReadNumbers(text, {"buffer "}, 10, {&length}) || length > 0xFFFF)
        return false;
    spec.length = static_cast<std::uint16_t>(length);
    spec.reports.clear();
    for (std::size_t at = text.find(" id "); at != std::string_view::npos;
         at = text.find(" id ", at + 1)) {
        unsigned id = 0, declared = 0;
        const std::string_view rest = text.substr(at);
        if (!ReadNumbers(rest, {" id ", " length "}, 10, {&id, &declared}) || id > 255 ||
            declared > 0xFFFF)
            return false;
        spec.reports.push_back(
            {static_cast<std::uint8_t>(id), static_cast<std::uint16_t>(declared)});
    }
    return true;
}

// One line of an interface block; false when it is none the report writes.
bool ReadInterfaceLine(std::string_view line, CollectionInfo& c) {
    unsigned a = 0, b = 0, v = 0;
    if (StartsWith(line, "  usage page ")) {
        if (!ReadNumbers(line, {"usage page ", " usage "}, 16, {&a, &b}))
            return false;
        c.usagePage = static_cast<std::uint16_t>(a);
        c.usage = static_cast<std::uint16_t>(b);
    } else if (StartsWith(line, "  vid ")) {
        if (!ReadNumbers(line, {"vid ", " pid ", " version "}, 16, {&a, &b, &v}))
            return false;
        c.vendorId = static_cast<std::uint16_t>(a);
        c.productId = static_cast<std::uint16_t>(b);
        c.version = static_cast<std::uint16_t>(v);
    } else if (StartsWith(line, "  product: ")) {
        c.product = std::string(line.substr(11));
    } else if (StartsWith(line, "  manufacturer: ")) {
        c.manufacturer = std::string(line.substr(16));
    } else if (StartsWith(line, "  hardware ids: ")) {
        c.hardwareIds = std::string(line.substr(16));
    } else if (StartsWith(line, "  input buffer ")) {
        return ReadReportSpec(line, c.input);
    } else if (StartsWith(line, "  output buffer ")) {
        return ReadReportSpec(line, c.output);
    } else if (StartsWith(line, "  feature buffer ")) {
        return ReadReportSpec(line, c.feature);
    } else if (StartsWith(line, "  cap ")) {
        const auto cap = ParseCap(line.substr(6));
        if (!cap)
            return false;
        c.caps.push_back(*cap);
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::vector<CollectionInfo> DescribeEvery(HidSystem& system, std::uint16_t vendorId,
                                          std::uint16_t productId) {
    std::vector<CollectionInfo> described;
    for (const InterfaceEntry& entry : system.Interfaces()) {
        // Another device's interfaces are not even described.
        const bool named = NamesSomeDevice(entry.path);
        std::optional<CollectionInfo> info;
        if (!named || MatchesDevice(entry.path, vendorId, productId))
            info = system.Describe(entry.path);
        if (!info)
            continue;
        info->deviceKey = entry.deviceKey.empty() ? DeviceKeyFromPath(entry.path) : entry.deviceKey;
        info->hardwareIds = entry.hardwareIds;
        described.push_back(std::move(*info));
    }
    return CollectionsOf(described, vendorId, productId);
}

std::string InterfaceText(const CollectionInfo& c) {
    char line[96];
    std::string text = "interface " + c.path + "\r\n";
    std::snprintf(line, sizeof line,
                  "  usage page %04X usage %04X\r\n  vid %04X pid %04X version %04X\r\n",
                  c.usagePage, c.usage, c.vendorId, c.productId, c.version);
    text += line;
    if (!c.product.empty())
        text += "  product: " + OneLine(c.product) + "\r\n";
    if (!c.manufacturer.empty())
        text += "  manufacturer: " + OneLine(c.manufacturer) + "\r\n";
    if (!c.hardwareIds.empty())
        text += "  hardware ids: " + OneLine(c.hardwareIds) + "\r\n";
    const std::pair<const char*, const ReportSpec*> types[] = {
        {"input", &c.input}, {"output", &c.output}, {"feature", &c.feature}};
    for (const auto& [name, spec] : types) {
        if (spec->length == 0)
            continue;
        text += std::string("  ") + name + " buffer " + std::to_string(spec->length) + ":";
        for (const ReportLength& r : spec->reports)
            text += " id " + std::to_string(r.id) + " length " + std::to_string(r.length) + ";";
        text += "\r\n";
    }
    for (const ReportCap& cap : c.caps) text += "  cap " + CapText(cap) + "\r\n";
    return text;
}

ReportLayout ParseDeviceReport(std::string_view text) {
    ReportLayout layout;
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        at = end + 1;
    }
    bool inReport = false;
    std::string deviceKey;
    CollectionInfo* current = nullptr;
    for (std::string_view line : lines) {
        unsigned vid = 0, pid = 0;
        if (StartsWith(line, "HID device vid ") &&
            ReadNumbers(line, {" vid ", " pid "}, 16, {&vid, &pid})) {
            layout.vendorId = static_cast<std::uint16_t>(vid);
            layout.productId = static_cast<std::uint16_t>(pid);
            inReport = true;
            continue;
        }
        // The next section of a diagnostics report ends the device's.
        if (!inReport || StartsWith(line, "== ")) {
            inReport = inReport && !StartsWith(line, "== ");
            current = nullptr;
            continue;
        }
        if (StartsWith(line, "device ") && line.rfind(": ") != std::string_view::npos) {
            deviceKey = std::string(line.substr(7, line.rfind(": ") - 7));
            current = nullptr;
        } else if (StartsWith(line, "interface ")) {
            CollectionInfo c;
            c.path = std::string(line.substr(10));
            c.deviceKey = deviceKey;
            c.vendorId = layout.vendorId;
            c.productId = layout.productId;
            layout.collections.push_back(std::move(c));
            current = &layout.collections.back();
        } else if (current != nullptr && StartsWith(line, "  ") && !StartsWith(line, "  | ")) {
            if (!ReadInterfaceLine(line, *current))
                layout.unreadable.push_back(std::string(line));
        } else {
            current = nullptr;
        }
    }
    // Every refused open the text tells of, in the recent lines or a capture.
    for (const CollectionInfo& c : layout.collections)
        for (std::string_view line : lines)
            if (line.find(c.path) != std::string_view::npos &&
                line.find("read/write refused") != std::string_view::npos) {
                layout.refusesReadWrite.push_back(c.path);
                break;
            }
    return layout;
}

}  // namespace korrin
