#include "korrin/report_extent.h"

#include <algorithm>
#include <map>

namespace korrin {

std::uint32_t FieldBits(const FieldCaps& caps) {
    // A variable button is one bit; without a report count each usage of a
    // range is one field (the system always names the count for values and
    // arrays; a missing one is taken as one field).
    const std::uint32_t size =
        caps.bitSize != 0 ? caps.bitSize : (caps.kind == FieldKind::ButtonArray ? 8u : 1u);
    std::uint32_t count = caps.reportCount;
    if (count == 0)
        count = caps.kind == FieldKind::Buttons ? caps.usageCount : 1u;
    return size * count;
}

std::vector<ReportLength> ReportExtents(const std::vector<FieldCaps>& caps,
                                        std::uint16_t bufferLength) {
    struct Span {
        std::uint32_t endBit = 0;   // highest end over the located entries
        std::uint32_t sumBits = 0;  // every entry's size, aliases left out
    };
    std::map<std::uint8_t, Span> ids;
    for (const FieldCaps& c : caps) {
        Span& span = ids[c.reportId];
        if (c.alias)
            continue;
        const std::uint32_t bits = FieldBits(c);
        span.sumBits += bits;
        if (c.bitPosition)
            span.endBit = std::max(span.endBit, *c.bitPosition + bits);
    }
    std::vector<ReportLength> out;
    for (const auto& [id, span] : ids) {
        const std::uint32_t bits = std::max(span.endBit, span.sumBits);
        out.push_back({id, static_cast<std::uint16_t>(
                               std::min<std::uint32_t>(1 + (bits + 7) / 8, bufferLength))});
    }
    if (out.empty() && bufferLength > 0)
        out.push_back({0, bufferLength});
    auto longest = std::max_element(
        out.begin(), out.end(), [](const auto& a, const auto& b) { return a.length < b.length; });
    if (longest != out.end())
        longest->length = bufferLength;
    return out;
}

}  // namespace korrin
