#include "korrin/report_caps.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <sstream>

namespace korrin {

std::vector<ReportLength> DeclaredLengths(const std::vector<ReportCap>& caps, ReportType type,
                                          std::uint16_t bufferLength) {
    std::map<std::uint8_t, std::uint32_t> bits;
    for (const ReportCap& c : caps) {
        if (c.type != type)
            continue;
        std::uint32_t count = c.reportCount;
        // A range names one usage per field even where the count says fewer.
        if (c.isRange)
            count = std::max<std::uint32_t>(count, c.usageMax - c.usageMin + 1u);
        bits[c.reportId] += std::uint32_t{c.bitSize} * count;
    }
    std::vector<ReportLength> out;
    for (const auto& [id, n] : bits)
        out.push_back({id, static_cast<std::uint16_t>(
                               std::min<std::uint32_t>(1 + (n + 7) / 8, bufferLength))});
    if (out.empty() && bufferLength > 0)
        out.push_back({0, bufferLength});
    auto longest = std::max_element(
        out.begin(), out.end(), [](const auto& a, const auto& b) { return a.length < b.length; });
    if (longest != out.end())
        longest->length = bufferLength;
    return out;
}

const char* ReportTypeName(ReportType type) {
    // In the order of the enumeration.
    static constexpr const char* kNames[] = {"input", "output", "feature"};
    return kNames[static_cast<std::size_t>(type)];
}

std::string CapText(const ReportCap& cap) {
    char text[160];
    std::snprintf(text, sizeof text, "%s id %u %s page %04X usage %04X", ReportTypeName(cap.type),
                  cap.reportId, cap.button ? "button" : "value", cap.usagePage, cap.usageMin);
    std::string out = text;
    if (cap.isRange) {
        std::snprintf(text, sizeof text, "-%04X", cap.usageMax);
        out += text;
    }
    out += " bits " + std::to_string(cap.bitSize) + " count " + std::to_string(cap.reportCount);
    if (cap.isAlias)
        out += " alias";
    if (cap.bitPosition)
        out += " at " + std::to_string(*cap.bitPosition);
    return out;
}

namespace {

bool Number(const std::string& word, int base, unsigned long limit, unsigned long& value) {
    const char* end = word.data() + word.size();
    const auto [at, error] = std::from_chars(word.data(), end, value, base);
    return !word.empty() && error == std::errc() && at == end && value <= limit;
}

}  // namespace

std::optional<ReportCap> ParseCap(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::string type, idWord, kind, pageWord, usageWord, bitsWord, countWord;
    std::string id, page, usage, bits, count;
    if (!(in >> type >> idWord >> id >> kind >> pageWord >> page >> usageWord >> usage >>
          bitsWord >> bits >> countWord >> count))
        return std::nullopt;
    if (idWord != "id" || pageWord != "page" || usageWord != "usage" || bitsWord != "bits" ||
        countWord != "count" || (kind != "button" && kind != "value"))
        return std::nullopt;
    ReportCap cap;
    if (type == "input")
        cap.type = ReportType::Input;
    else if (type == "output")
        cap.type = ReportType::Output;
    else if (type == "feature")
        cap.type = ReportType::Feature;
    else
        return std::nullopt;
    cap.button = kind == "button";
    unsigned long n = 0, low = 0, high = 0;
    const std::size_t dash = usage.find('-');
    cap.isRange = dash != std::string::npos;
    if (!Number(id, 10, 255, n) || !Number(page, 16, 0xFFFF, low))
        return std::nullopt;
    cap.reportId = static_cast<std::uint8_t>(n);
    cap.usagePage = static_cast<std::uint16_t>(low);
    if (!Number(usage.substr(0, dash), 16, 0xFFFF, low) ||
        !Number(cap.isRange ? usage.substr(dash + 1) : usage.substr(0, dash), 16, 0xFFFF, high))
        return std::nullopt;
    cap.usageMin = static_cast<std::uint16_t>(low);
    cap.usageMax = static_cast<std::uint16_t>(high);
    if (!Number(bits, 10, 0xFFFF, n))
        return std::nullopt;
    cap.bitSize = static_cast<std::uint16_t>(n);
    if (!Number(count, 10, 0xFFFF, n))
        return std::nullopt;
    cap.reportCount = static_cast<std::uint16_t>(n);
    std::string word;
    while (in >> word) {
        if (word == "alias") {
            cap.isAlias = true;
        } else if (word == "at" && in >> word && Number(word, 10, 0xFFFF, n)) {
            cap.bitPosition = static_cast<std::uint16_t>(n);
        } else {
            return std::nullopt;
        }
    }
    return cap;
}

}  // namespace korrin
