// What Option's settings session needs of the world around it: the shared
// section Monitor owns, the windows of the other programs, and the macro
// store. The Win32 side implements them; tests substitute their own.
#pragma once

#include "common/settings/settings_block.h"
#include "common/settings/shared_section.h"
#include "option/model/dialogs/macro_record.h"

#include <vector>

namespace option {

// Option's side of the shared section: opened, never created.
class SharedBlockLink : public settings::SharedBlockStore {
  public:
    // True while a view of the section is mapped.
    virtual bool IsOpen() const = 0;
    // Opens the settings mutex and the section when Monitor has created them;
    // returns IsOpen() afterwards.
    virtual bool Open() = 0;
};

// What an Apply carries to Monitor: the user's edits, or a reset to
// defaults, after which Monitor takes every profile as new.
enum class ApplyKind { Edits, Reset };

// The windows of Monitor and of the companion programs, found by title.
class PeerWindows {
  public:
    virtual ~PeerWindows() = default;
    virtual bool MonitorRunning() = 0;
    // Posts kMsgApplyAll (wParam 1 for a reset, else 0) to Monitor; false when its window is gone.
    virtual bool PostApplyToMonitor(ApplyKind kind) = 0;
    // Posts kMsgApplyAll (0, 0) to each companion window that exists.
    virtual void PostApplyToCompanions() = 0;
};

// What a merge does with a stored macro whose name a button holds with
// other events.
enum class MacroMerge {
    ButtonsWin,  // the button's events replace the stored ones
    StoreWins,   // the stored macro stays; only missing macros are added
};

// The macro store of config\sequence.dat as the main window uses it.
class MacroStore {
  public:
    virtual ~MacroStore() = default;
    // Appends the file's macros.
    virtual bool Load() = 0;
    virtual void Clear() = 0;
    // Brings the macros named by the button records of all profiles into the store.
    virtual void MergeFromProfiles(const settings::SettingsBlock& block, MacroMerge merge) = 0;
    virtual bool Save() = 0;
    // Every record, in order (a backup).
    virtual std::vector<MacroRecord> Records() const = 0;
    // The store becomes exactly `records` (a restored backup); saved later.
    virtual void ReplaceAll(const std::vector<MacroRecord>& records) = 0;
};

}  // namespace option
