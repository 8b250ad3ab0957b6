// Option's two settings blocks and everything done to them: where they come
// from at start, the hand-over to Monitor at Apply with its pending state, the
// reloads Monitor asks for, profile selection, reset, import and export. No
// window here: COptionDlg turns its messages into these calls and shows the
// results.
#pragma once

#include <memory>
#include <string>

#include "common/settings/mouse_registry.h"
#include "common/settings/osd_settings.h"
#include "common/settings/return_after_game.h"
#include "common/settings/settings_block.h"
#include "common/settings/settings_files.h"
#include "option/model/session/profile_transfer.h"
#include "option/model/session/settings_backup.h"
#include "option/model/session/session_ports.h"

namespace option {

enum class BlockSource { Shared, Files, Defaults };

struct ApplyResult {
    bool published = false;  // the block reached the shared section
    bool saved = false;      // config.ini and every profile file were written
    bool pending = false;    // Monitor was told and its answer kMsgUploadDone is awaited
};

class OptionSession {
  public:
    // `registry` may be null (then no pointer values are read or written).
    OptionSession(settings::SettingsFiles& files, settings::MouseRegistry* registry,
                  SharedBlockLink& link, PeerWindows& peers, MacroStore& macros);

    // Dialog initialisation: the reference block from the shared section
    // (change flags cleared) when it is open and readable, else from the
    // files, else defaults; the macro store and the OSD record; the edit
    // block; the registry's pointer values into the edit block's current
    // profile when the block came from Monitor.
    BlockSource Start();

    // Apply (ApplyKind::Reset after a reset to defaults). Tries to open the section
    // when it is not open yet, so an Option started before Monitor reaches
    // the mouse. Without a published block Monitor is not told: it would
    // hand out its own stale block and answer as if this Apply had worked.
    ApplyResult Apply(ApplyKind kind);
    bool Pending() const { return pending_; }
    // kMsgUploadDone: Monitor finished the upload.
    void UploadDone() { pending_ = false; }
    // While pending: Monitor's window is gone, so no answer will come. True
    // when this ended the pending state.
    bool EndPendingIfMonitorGone();

    // kMsgProfileChanged: Monitor switched the profile; unsaved edits are discarded.
    bool ProfileChanged();
    // kMsgSettingChanged: the mouse changed CPI, sensitivity or report rate of the current
    // profile; other edits stay.
    bool SettingChanged();

    // False (nothing changed) for an index outside 0..4.
    bool SelectProfile(int index);
    // Five default profiles, default OSD options, everything marked changed.
    // The caller refreshes and applies with ApplyKind::Reset.
    void ResetToDefaults();

    // Profile `index` (the one shown when the user chose the command, even
    // if the mouse has switched since) from or to the chosen file.
    ImportResult Import(const std::string& chosen, int index);
    bool Export(const std::string& path, int index);

    // The macro manager edits the store in place from Opened to Closed.
    // Meanwhile a block read again brings its buttons' macros in only when
    // the manager closes, so that nothing merges into or saves the user's
    // unfinished session. Closed with `keep` (OK) saves the store as the
    // user left it (a stored macro then wins over a button's older copy);
    // otherwise the store is read again from its file.
    void MacroManagerOpened() { macroManagerOpen_ = true; }
    void MacroManagerClosed(bool keep);

    // The backup of everything: the edit block, the notice settings, the
    // macro store and the return-after-game choices.
    std::string BackupText() const;
    // A backup read back: when every part is good it replaces all of the
    // above at once, marked changed (the caller refreshes and applies it as
    // after a reset); otherwise nothing changes and the damaged part is told.
    BackupProblem RestoreBackup(const std::string& text);

    int FirmwareVersion();

    settings::SettingsBlock& Edit() { return *edit_; }
    const settings::SettingsBlock& Reference() const { return *reference_; }
    const settings::OsdSettings& Osd() const { return osd_; }
    settings::ProfileRecord* CurrentProfile() { return settings::CurrentProfile(*edit_); }
    // Per profile: back to the previous profile when its game ends. Kept in
    // config.ini beside the block, saved with every Apply.
    settings::ReturnAfterGame& ReturnChoices() { return returnAfterGame_; }

  private:
    // Reads the section into the scratch block; false when closed or failed.
    bool FetchShared();
    void MergeMacros();

    settings::SettingsFiles& files_;
    settings::MouseRegistry* registry_;
    SharedBlockLink& link_;
    PeerWindows& peers_;
    MacroStore& macros_;
    std::unique_ptr<settings::SettingsBlock> reference_;
    std::unique_ptr<settings::SettingsBlock> edit_;
    std::unique_ptr<settings::SettingsBlock> scratch_;
    settings::OsdSettings osd_{};
    settings::ReturnAfterGame returnAfterGame_{};
    bool pending_ = false;
    bool macroManagerOpen_ = false;
    bool mergeWaiting_ = false;  // a block was read while the manager was open
};

}  // namespace option
