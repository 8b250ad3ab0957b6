#include "korrin/channel_plan.h"

#include <algorithm>
#include <cctype>

#include "korrin/korrin_core.h"

namespace korrin {

namespace {

std::size_t PayloadFor(Role role) {
    return role == Role::Command ? kCommandLength : kChunkLength;
}

// One candidate of a report type of one collection, or nothing.
std::optional<ChannelChoice> CandidateOf(const CollectionInfo& c, std::size_t index,
                                         const ReportSpec& spec, TransferKind kind,
                                         std::size_t payload,
                                         std::optional<std::uint8_t> preferredId) {
    auto report = ReportForPayload(spec, payload);
    if (preferredId)
        for (const ReportLength& r : spec.reports)
            if (r.id == *preferredId && r.length >= payload + 1)
                report = r;
    if (!report)
        return std::nullopt;
    const bool exact = report->length == payload + 1;
    ChannelChoice choice{index, c.path, kind, report->id, report->length, spec.length, {}};
    choice.why = std::string(KindName(kind)) + ", " +
                 (IsVendorPage(c.usagePage) ? "vendor page" : "standard page") + ", report id " +
                 std::to_string(report->id) + (exact ? " of exact length " : " of longer length ") +
                 std::to_string(report->length);
    return choice;
}

}  // namespace

bool IsVendorPage(std::uint16_t usagePage) {
    return usagePage >= kVendorUsagePageFirst;
}

bool IsPrivateCollection(Usage usage) {
    constexpr std::uint16_t kGenericDesktop = 0x01, kKeyboard = 0x06, kKeypad = 0x07;
    constexpr std::uint16_t kDigitizerPage = 0x0D;
    if (usage.page == kDigitizerPage)
        return true;
    return usage.page == kGenericDesktop && (usage.id == kKeyboard || usage.id == kKeypad);
}

std::optional<ReportLength> ReportForPayload(const ReportSpec& spec, std::size_t payload) {
    std::optional<ReportLength> best;
    for (const ReportLength& r : spec.reports) {
        if (r.length < payload + 1)
            continue;
        if (!best || r.length < best->length || (r.length == best->length && r.id < best->id))
            best = r;
    }
    return best;
}

const char* RoleName(Role role) {
    return role == Role::Command ? "command" : "chunk";
}

const char* KindName(TransferKind kind) {
    switch (kind) {
        case TransferKind::SetFeature:
            return "feature report";
        case TransferKind::GetFeature:
            return "feature report read";
        case TransferKind::Output:
            return "output report";
        case TransferKind::SetOutput:
            return "output report by control request";
        case TransferKind::Input:
            return "input report";
    }
    return "?";
}

namespace {

// True when the candidate is what the description prefers, in everything it
// names.
bool Preferred(const ChannelPreference& p, const CollectionInfo& c, const ChannelChoice& choice) {
    if (!p.Any())
        return false;
    const bool output =
        choice.kind == TransferKind::Output || choice.kind == TransferKind::SetOutput;
    const bool report = p.report == ChunkReport::Any || (p.report == ChunkReport::Output) == output;
    return report && (!p.usagePage || *p.usagePage == c.usagePage) &&
           (!p.reportId || *p.reportId == choice.reportId);
}

}  // namespace

std::vector<ChannelChoice> RankCandidates(const std::vector<CollectionInfo>& collections, Role role,
                                          const std::optional<RememberedChoice>& remembered,
                                          const ChannelPreference& preferred) {
    const std::size_t payload = PayloadFor(role);
    struct Ranked {
        int score;
        ChannelChoice choice;
    };
    std::vector<Ranked> ranked;
    auto add = [&](const CollectionInfo& c, std::size_t i, const ReportSpec& spec,
                   TransferKind kind, int kindScore) {
        auto choice = CandidateOf(c, i, spec, kind, payload, preferred.reportId);
        if (!choice)
            return;
        int score = kindScore + (IsVendorPage(c.usagePage) ? 2 : 0) +
                    (choice->declaredLength == payload + 1 ? 1 : 0);
        if (Preferred(preferred, c, *choice)) {
            score += 50;
            choice->why += ", preferred by the device description";
        }
        if (remembered && remembered->path == choice->path && remembered->kind == choice->kind &&
            remembered->reportId == choice->reportId) {
            score += 100;
            choice->why += ", remembered from an earlier send that worked";
        }
        ranked.push_back({score, std::move(*choice)});
    };
    for (std::size_t i = 0; i < collections.size(); ++i) {
        const CollectionInfo& c = collections[i];
        if (IsPrivateCollection({c.usagePage, c.usage}))
            continue;
        if (role == Role::Command) {
            add(c, i, c.feature, TransferKind::SetFeature, 0);
        } else {
            add(c, i, c.output, TransferKind::Output, 10);
            add(c, i, c.feature, TransferKind::SetFeature, 0);
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.score > b.score; });
    std::vector<ChannelChoice> out;
    for (Ranked& r : ranked) out.push_back(std::move(r.choice));
    return out;
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
    for (const InterfaceEntry& entry : system.Interfaces()) {
        // A path naming another device need not be opened at all; one naming
        // none (other buses spell ids their own way) is asked.
        if (NamesSomeDevice(entry.path) && !MatchesDevice(entry.path, vendorId, productId))
            continue;
        if (entry.usage && IsPrivateCollection(*entry.usage))
            continue;
        auto info = system.Describe(entry.path);
        // The listing does not always name the usage: checked again here.
        if (info && !IsPrivateCollection({info->usagePage, info->usage})) {
            info->deviceKey =
                entry.deviceKey.empty() ? DeviceKeyFromPath(entry.path) : entry.deviceKey;
            described.push_back(std::move(*info));
        }
    }
    return CollectionsOf(described, vendorId, productId);
}

}  // namespace korrin

namespace korrin {

std::string DeviceKeyFromPath(std::string_view path) {
    std::string lower(path);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::size_t cut = lower.size();
    for (const char* marker : {"&col", "&mi_"}) cut = std::min(cut, lower.find(marker));
    lower.resize(cut);
    return lower;
}

std::vector<DeviceGroup> GroupByDevice(const std::vector<CollectionInfo>& collections) {
    std::vector<DeviceGroup> groups;
    for (const CollectionInfo& c : collections) {
        const std::string key = c.deviceKey.empty() ? DeviceKeyFromPath(c.path) : c.deviceKey;
        auto it = std::find_if(groups.begin(), groups.end(),
                               [&](const DeviceGroup& g) { return g.key == key; });
        if (it == groups.end())
            it = groups.insert(groups.end(), DeviceGroup{key, {}});
        it->collections.push_back(c);
    }
    return groups;
}

DeviceGroup SelectMouse(const std::vector<CollectionInfo>& collections,
                        const std::string& preferred) {
    auto groups = GroupByDevice(collections);
    auto usable = [](const DeviceGroup& g) {
        return !RankCandidates(g.collections, Role::Command).empty();
    };
    for (DeviceGroup& g : groups)
        if (!preferred.empty() && g.key == preferred && usable(g))
            return std::move(g);
    for (DeviceGroup& g : groups)
        if (usable(g))
            return std::move(g);
    return {};
}

}  // namespace korrin
