#include "option/model/dialogs/macro_store.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "common/settings/ini_engine.h"

namespace option {
namespace {

constexpr const char* kSection = "Macros";
constexpr const char* kNumberKey = "number";

// A record read from the file is usable only when its count fits the slots;
// a name that lost its terminator is cut to fit its field.
bool MendLoadedRecord(MacroRecord& record) {
    if (record.eventCount < 0 || record.eventCount > settings::kMaxMacroEvents)
        return false;
    record.name[kMacroNameSize - 1] = '\0';
    return true;
}

int EntryEventCount(const settings::ButtonAssignment& entry) {
    return entry.eventCount > settings::kMaxMacroEvents ? settings::kMaxMacroEvents
                                                        : entry.eventCount;
}

std::string EntryName(const settings::ButtonAssignment& entry) {
    return NameOf(entry.macroName, sizeof entry.macroName);
}

// The index a macro's key names: its decimal digits as the store writes
// them (no sign, no leading zero); -1 for any other name.
int MacroIndexOf(std::string_view name) {
    if (name.empty() || name.size() > 5 || (name.size() > 1 && name.front() == '0'))
        return -1;
    int index = 0;
    for (const char c : name) {
        if (c < '0' || c > '9')
            return -1;
        index = index * 10 + (c - '0');
    }
    return index;
}

}  // namespace

bool MacroFileStore::Load() {
    if (!files_.CanOpen(path_))
        return true;  // no file yet: nothing to add
    std::unique_ptr<settings::IniFile> file = files_.Open(path_);
    if (!file)
        return false;
    ReadMacros(*file);
    return true;
}

void MacroFileStore::ReadMacros(settings::IniFile& file) {
    int count = file.GetInt(kSection, kNumberKey, -1);
    if (count > kMaxLoadedMacros)
        count = kMaxLoadedMacros;
    // Read into one scratch record: a damaged `number` may name thousands
    // of keys that are missing, and only a good record is worth a copy.
    MacroRecord record;
    const auto readAt = [&](int i) {
        const std::string key = std::to_string(i);
        // A missing key or a bad checksum leaves nothing worth keeping.
        if (!file.GetStruct(kSection, key.c_str(), &record, sizeof record))
            return;
        if (MendLoadedRecord(record))
            macros_.push_back(std::make_unique<MacroRecord>(record));
    };
    // A file that lists its keys is asked only for those it holds.
    std::vector<int> present;
    if (!file.ListKeys(kSection, [&](std::string_view name) {
            const int i = MacroIndexOf(name);
            if (i >= 0 && i < count)
                present.push_back(i);
        })) {
        for (int i = 0; i < count; ++i) readAt(i);
        return;
    }
    std::sort(present.begin(), present.end());
    present.erase(std::unique(present.begin(), present.end()), present.end());
    for (const int i : present) readAt(i);
}

std::vector<MacroRecord> MacroFileStore::Records() const {
    std::vector<MacroRecord> records;
    records.reserve(macros_.size());
    for (const std::unique_ptr<MacroRecord>& record : macros_) records.push_back(*record);
    return records;
}

void MacroFileStore::ReplaceAll(const std::vector<MacroRecord>& records) {
    macros_.clear();
    for (const MacroRecord& record : records)
        macros_.push_back(std::make_unique<MacroRecord>(record));
}

std::string MacroFileStore::FileText() const {
    settings::IniDocument doc;
    doc.SetString(kSection, kNumberKey, std::to_string(macros_.size()).c_str());
    for (std::size_t i = 0; i < macros_.size(); ++i) {
        doc.SetString(kSection, std::to_string(i).c_str(),
                      settings::EncodeStruct(macros_[i].get(), sizeof(MacroRecord)).c_str());
    }
    return doc.Serialize();
}

bool MacroFileStore::Save() {
    // Option saves the store at every start and every Apply; most of the time
    // the file already holds exactly this text and is left as it is.
    std::string onDisk;
    if (files_.ReadBytes(path_, onDisk) && onDisk == FileText())
        return true;
    const std::unique_ptr<settings::IniRewriteLock::Hold> hold = files_.LockForRewrite(path_);
    if (!hold)
        return false;
    // Written afresh, so the new file holds only what is written here.
    return settings::WriteFreshIniFile(files_, path_, [this](settings::IniFile& file) {
        bool ok = file.WriteString(kSection, kNumberKey, std::to_string(macros_.size()).c_str());
        for (std::size_t i = 0; ok && i < macros_.size(); ++i) {
            ok = file.WriteStruct(kSection, std::to_string(i).c_str(), macros_[i].get(),
                                  sizeof(MacroRecord));
        }
        return ok;
    });
}

MacroRecord* MacroFileStore::MacroAt(int index) {
    if (index < 0 || index >= Count())
        return nullptr;
    return macros_[static_cast<std::size_t>(index)].get();
}

const MacroRecord* MacroFileStore::MacroAt(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return macros_[static_cast<std::size_t>(index)].get();
}

MacroMatch MacroFileStore::FindByName(const settings::ButtonAssignment& entry) const {
    const std::string wanted = EntryName(entry);
    const int count = EntryEventCount(entry);
    for (std::size_t i = 0; i < macros_.size(); ++i) {
        const MacroRecord& r = *macros_[i];
        if (!SameNameIgnoringCase(TrimBlanks(NameOf(r.name, sizeof r.name)), wanted))
            continue;
        MacroMatch match;
        match.index = static_cast<int>(i);
        match.same =
            r.eventCount == entry.eventCount &&
            std::memcmp(r.events, entry.events,
                        static_cast<std::size_t>(count) * sizeof(settings::MacroEvent)) == 0;
        return match;
    }
    return {};
}

MacroRecord& MacroFileStore::AddFromEntry(const settings::ButtonAssignment& entry) {
    MacroRecord& r = AddNamed(EntryName(entry));
    r.eventCount = EntryEventCount(entry);
    std::memcpy(r.events, entry.events,
                static_cast<std::size_t>(r.eventCount) * sizeof(settings::MacroEvent));
    return r;
}

MacroRecord& MacroFileStore::AddNamed(const std::string& name) {
    auto record = std::make_unique<MacroRecord>();
    std::memset(record.get(), 0, sizeof *record);
    CopyName(record->name, sizeof record->name, name);
    macros_.push_back(std::move(record));
    return *macros_.back();
}

bool MacroFileStore::RemoveAt(int index) {
    if (index < 0 || index >= Count())
        return false;
    macros_.erase(macros_.begin() + index);
    return true;
}

void MacroFileStore::MergeFromProfiles(const settings::SettingsBlock& block, MacroMerge merge) {
    for (const settings::ProfileRecord& profile : block.profiles) {
        for (const settings::ButtonAssignment& entry : profile.MacroKeyInfo) {
            if (entry.actionCode != settings::action::kMacro ||
                TrimBlanks(EntryName(entry)).empty())
                continue;
            const MacroMatch match = FindByName(entry);
            if (match.index < 0) {
                AddFromEntry(entry);
            } else if (!match.same && merge == MacroMerge::ButtonsWin) {
                MacroRecord& r = *macros_[static_cast<std::size_t>(match.index)];
                std::memcpy(r.events, entry.events, sizeof r.events);
                r.eventCount = EntryEventCount(entry);
            }
        }
    }
}

}  // namespace option
