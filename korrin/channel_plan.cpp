#include "korrin/channel_plan.h"

#include <algorithm>
#include <set>

#include "korrin/korrin_core.h"

namespace korrin {

namespace {

const ReportSpec& SpecFor(const CollectionInfo& c, Role role) {
    return role == Role::Feature ? c.feature : c.output;
}

std::size_t PayloadFor(Role role) {
    return role == Role::Feature ? kCommandLength : kChunkLength;
}

}  // namespace

bool IsVendorPage(std::uint16_t usagePage) {
    return usagePage >= kVendorUsagePageFirst;
}

ReportIdChoice ReportIdFor(const ReportSpec& spec) {
    std::set<std::uint8_t> nonZero;
    for (std::uint8_t id : spec.ids)
        if (id != 0)
            nonZero.insert(id);
    if (nonZero.empty())
        return {};
    return {*nonZero.begin(), nonZero.size() > 1};
}

std::vector<ChannelChoice> RankCandidates(const std::vector<CollectionInfo>& collections,
                                          Role role) {
    const std::size_t needed = PayloadFor(role) + 1;
    struct Ranked {
        int score;
        ChannelChoice choice;
    };
    std::vector<Ranked> ranked;
    for (std::size_t i = 0; i < collections.size(); ++i) {
        const CollectionInfo& c = collections[i];
        const ReportSpec& spec = SpecFor(c, role);
        if (spec.length < needed)
            continue;
        const bool vendor = IsVendorPage(c.usagePage);
        const bool exact = spec.length == needed;
        const ReportIdChoice id = ReportIdFor(spec);
        ChannelChoice choice{i, c.path, id.id, spec.length, {}};
        choice.why = std::string(vendor ? "vendor page" : "standard page") +
                     (exact ? ", exact length " : ", longer length ") +
                     std::to_string(spec.length) +
                     (id.ambiguous ? ", several report ids, lowest taken" : "");
        ranked.push_back({(vendor ? 2 : 0) + (exact ? 1 : 0), std::move(choice)});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.score > b.score; });
    std::vector<ChannelChoice> out;
    for (Ranked& r : ranked) out.push_back(std::move(r.choice));
    return out;
}

bool CarriesEvents(const CollectionInfo& collection) {
    return IsVendorPage(collection.usagePage) && collection.input.length >= kEventReportMinLength;
}

std::vector<CollectionInfo> CollectionsOf(const std::vector<CollectionInfo>& all,
                                          std::uint16_t vendorId, std::uint16_t productId) {
    std::vector<CollectionInfo> out;
    for (const CollectionInfo& c : all) {
        const bool byAttributes = c.vendorId == vendorId && c.productId == productId;
        // Without attributes the device path is the only witness.
        const bool byPath =
            c.vendorId == 0 && c.productId == 0 && MatchesDevice(c.path, vendorId, productId);
        if (byAttributes || byPath)
            out.push_back(c);
    }
    return out;
}

std::vector<CollectionInfo> Survey(HidSystem& system, std::uint16_t vendorId,
                                   std::uint16_t productId) {
    std::vector<CollectionInfo> described;
    for (const std::string& path : system.InterfacePaths()) {
        // A path naming another device need not be opened at all; one naming
        // none (other buses spell ids their own way) is asked.
        if (NamesSomeDevice(path) && !MatchesDevice(path, vendorId, productId))
            continue;
        if (auto info = system.Describe(path))
            described.push_back(std::move(*info));
    }
    return CollectionsOf(described, vendorId, productId);
}

}  // namespace korrin
