#include "korrin/channel_plan.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

#include "korrin/korrin_core.h"

namespace korrin {

namespace {

std::size_t PayloadFor(Role role) {
    return role == Role::Command ? kCommandLength : kChunkLength;
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

bool IsVendorPage(std::uint16_t usagePage) {
    return usagePage >= kVendorUsagePageFirst;
}

bool IsKeyboardCollection(Usage usage) {
    constexpr std::uint16_t kGenericDesktop = 0x01, kKeyboard = 0x06, kKeypad = 0x07;
    return usage.page == kGenericDesktop && (usage.id == kKeyboard || usage.id == kKeypad);
}

bool IsDigitizerCollection(Usage usage) {
    constexpr std::uint16_t kDigitizerPage = 0x0D;
    return usage.page == kDigitizerPage;
}

bool IsPrivateCollection(Usage usage) {
    return IsKeyboardCollection(usage) || IsDigitizerCollection(usage);
}

std::string PathMarker(std::string_view path, std::string_view prefix) {
    std::string lower(path);
    for (char& c : lower) c = Lower(c);
    std::string marker(1, '&');
    marker.append(prefix);
    const std::size_t at = lower.find(marker);
    if (at == std::string::npos)
        return {};
    const std::size_t end = lower.find_first_of("&#\\", at + 1);
    return lower.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
}

RememberedChoice RememberedFor(const CollectionInfo& collection, const ChannelChoice& choice) {
    return {PathMarker(collection.path, "mi_"),
            PathMarker(collection.path, "col"),
            collection.usagePage,
            collection.usage,
            choice.kind,
            choice.reportId};
}

std::string RememberedText(const RememberedChoice& r) {
    char usage[48];
    std::snprintf(usage, sizeof usage, "usage page %04X usage %04X", r.usagePage, r.usage);
    return "interface " + (r.interfaceNumber.empty() ? std::string("-") : r.interfaceNumber) +
           ", collection " + (r.collection.empty() ? std::string("-") : r.collection) + ", " +
           usage + ", " + KindName(r.kind) + ", report id " + std::to_string(r.reportId);
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
        std::array<int, 7> rank;  // compared in order, higher first
        ChannelChoice choice;
    };
    std::vector<Ranked> ranked;
    auto add = [&](const CollectionInfo& c, std::size_t i, const ReportSpec& spec,
                   TransferKind kind) {
        // The buffer is what the system takes; a declared length only ranks.
        if (spec.length < payload + 1)
            return;
        const bool keyboard = IsKeyboardCollection({c.usagePage, c.usage});
        for (const ReportLength& r : spec.reports) {
            const int fit = r.length == payload + 1 ? 2 : r.length > payload + 1 ? 1 : 0;
            ChannelChoice choice{i, c.path, kind, r.id, r.length, spec.length, keyboard, {}};
            choice.why = std::string(KindName(kind)) + ", " +
                         (keyboard                    ? "keyboard, without access"
                          : IsVendorPage(c.usagePage) ? "vendor page"
                                                      : "standard page") +
                         ", report id " + std::to_string(r.id) +
                         (fit == 2   ? " of exact length "
                          : fit == 1 ? " of longer length "
                                     : " declared shorter, length ") +
                         std::to_string(r.length);
            const bool isPreferred = Preferred(preferred, c, choice);
            if (isPreferred)
                choice.why += ", preferred by the device description";
            const bool isRemembered = remembered && *remembered == RememberedFor(c, choice);
            if (isRemembered)
                choice.why += ", remembered: the device confirmed it";
            ranked.push_back({{isRemembered ? 1 : 0, isPreferred ? 1 : 0, keyboard ? 0 : 1,
                               kind == TransferKind::Output ? 1 : 0,
                               IsVendorPage(c.usagePage) ? 1 : 0, fit, -static_cast<int>(i)},
                              std::move(choice)});
        }
    };
    for (std::size_t i = 0; i < collections.size(); ++i) {
        const CollectionInfo& c = collections[i];
        if (IsDigitizerCollection({c.usagePage, c.usage}))
            continue;
        if (role == Role::Chunk)
            add(c, i, c.output, TransferKind::Output);
        add(c, i, c.feature, TransferKind::SetFeature);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        if (a.rank != b.rank)
            return a.rank > b.rank;
        if (a.choice.declaredLength != b.choice.declaredLength)
            return a.choice.declaredLength < b.choice.declaredLength;
        return a.choice.reportId < b.choice.reportId;
    });
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
        if (entry.usage && IsDigitizerCollection(*entry.usage))
            continue;
        auto info = system.Describe(entry.path);
        // The listing does not always name the usage: checked again here.
        if (info && !IsDigitizerCollection({info->usagePage, info->usage})) {
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
