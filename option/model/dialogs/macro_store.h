// The macro store: every macro the user has made, in order, kept in
// config\sequence.dat (section Macros: `number`, then keys 0..N-1 each holding
// one 220-byte record in the structure encoding).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/settings/ini_file.h"
#include "common/settings/settings_block.h"
#include "option/model/dialogs/macro_record.h"
#include "option/model/session/session_ports.h"

namespace option {

inline constexpr const char* kMacroFileName = "config\\sequence.dat";
// Load reads at most this many records. A damaged `number` could otherwise
// make the store walk (and allocate for) billions of keys; no user builds more
// than a few hundred macros, and this many is still only about 2 MB.
inline constexpr int kMaxLoadedMacros = 10000;

struct MacroMatch {
    int index = -1;     // -1: no macro of that name
    bool same = false;  // the events equal the entry's
};

class MacroFileStore final : public MacroStore {
  public:
    // `programFolder` ends with its separator, as SettingsFiles keeps it.
    MacroFileStore(settings::IniFileSystem& files, const std::string& programFolder)
        : files_(files), path_(programFolder + kMacroFileName) {}

    // Appends the file's macros (the store is not cleared first). Damaged
    // records are skipped; a missing file adds nothing. False when the file
    // could not be opened.
    bool Load() override;
    // What Load appends for the file open as `file` (a text in memory, say).
    void ReadMacros(settings::IniFile& file);
    // Replaces the file whole with the store's records, unless it already
    // holds exactly them; on failure the old file stays as it was.
    bool Save() override;
    void MergeFromProfiles(const settings::SettingsBlock& block, MacroMerge merge) override;
    std::vector<MacroRecord> Records() const override;
    void ReplaceAll(const std::vector<MacroRecord>& records) override;
    void Clear() override { macros_.clear(); }

    int Count() const { return static_cast<int>(macros_.size()); }
    MacroRecord* MacroAt(int index);
    const MacroRecord* MacroAt(int index) const;
    MacroMatch FindByName(const settings::ButtonAssignment& entry) const;
    MacroRecord& AddFromEntry(const settings::ButtonAssignment& entry);
    // A new record, all zero but the name (cut to fit).
    MacroRecord& AddNamed(const std::string& name);
    // False when index is out of range.
    bool RemoveAt(int index);
    const std::string& Path() const { return path_; }
    // The file as Save writes it.
    std::string FileText() const;

  private:
    settings::IniFileSystem& files_;
    std::string path_;
    std::vector<std::unique_ptr<MacroRecord>> macros_;
};

}  // namespace option
