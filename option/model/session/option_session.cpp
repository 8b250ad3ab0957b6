#include "option/model/session/option_session.h"

#include <cstring>

namespace option {
namespace {

std::unique_ptr<settings::SettingsBlock> ZeroBlock() {
    auto block = std::make_unique<settings::SettingsBlock>();
    std::memset(block.get(), 0, sizeof(settings::SettingsBlock));
    return block;
}

}  // namespace

OptionSession::OptionSession(settings::SettingsFiles& files, settings::MouseRegistry* registry,
                             SharedBlockLink& link, PeerWindows& peers, MacroStore& macros)
    : files_(files),
      registry_(registry),
      link_(link),
      peers_(peers),
      macros_(macros),
      reference_(ZeroBlock()),
      edit_(ZeroBlock()),
      scratch_(ZeroBlock()) {
    reference_->currentProfile = -1;
    edit_->currentProfile = -1;
}

bool OptionSession::FetchShared() {
    return link_.IsOpen() && link_.Fetch(*scratch_);
}

void OptionSession::MergeMacros() {
    if (macroManagerOpen_) {
        mergeWaiting_ = true;
        return;
    }
    macros_.MergeFromProfiles(*edit_, MacroMerge::ButtonsWin);
    macros_.Save();
}

void OptionSession::MacroManagerClosed(bool keep) {
    macroManagerOpen_ = false;
    const bool merge = mergeWaiting_;
    mergeWaiting_ = false;
    if (keep) {
        if (merge)
            macros_.MergeFromProfiles(*edit_, MacroMerge::StoreWins);
        macros_.Save();
        return;
    }
    // Every edit made while the manager was open goes: the file still holds
    // the store as it was.
    macros_.Clear();
    macros_.Load();
    if (merge)
        MergeMacros();
}

BlockSource OptionSession::Start() {
    std::memset(reference_.get(), 0, sizeof(settings::SettingsBlock));
    reference_->currentProfile = -1;
    BlockSource source = BlockSource::Shared;
    if (FetchShared()) {
        *reference_ = *scratch_;
        settings::ClearChanges(*reference_);
    } else if (settings::LoadAll(files_, registry_, *reference_, settings::DefaultsFor::Option)) {
        source = BlockSource::Files;
    } else {
        settings::FillDefaults(*reference_, settings::DefaultsFor::Option);
        source = BlockSource::Defaults;
    }
    macros_.Load();
    settings::ResetOsdSettings(osd_);
    settings::LoadOsdSettings(files_, osd_);
    returnAfterGame_ = settings::ReadReturnAfterGame(files_);
    *edit_ = *reference_;
    MergeMacros();
    if (source == BlockSource::Shared && registry_ != nullptr) {
        if (settings::ProfileRecord* current = settings::CurrentProfile(*edit_))
            settings::ReadRegistryIntoProfile(*registry_, *current);
    }
    return source;
}

ApplyResult OptionSession::Apply(ApplyKind kind) {
    ApplyResult result;
    if (kind == ApplyKind::Edits) {
        settings::SetChangeFlag(*edit_, settings::kButtonFlagCount + settings::kSelectProfileFlag,
                                edit_->currentProfile != reference_->currentProfile ? 1 : 0);
    }
    if (!link_.IsOpen())
        link_.Open();
    if (link_.IsOpen())
        result.published = link_.Publish(*edit_);
    settings::SaveOsdSettings(files_, osd_);
    result.saved = settings::SaveAll(files_, registry_, *edit_);
    // Before Monitor is told: it reads the choices when it takes the Apply.
    result.saved = settings::WriteReturnAfterGame(files_, returnAfterGame_) && result.saved;
    bool monitorTold = false;
    if (result.published)
        monitorTold = peers_.PostApplyToMonitor(kind);
    peers_.PostApplyToCompanions();
    settings::ClearChanges(*edit_);
    *reference_ = *edit_;
    macros_.Save();
    pending_ = monitorTold;
    result.pending = pending_;
    return result;
}

bool OptionSession::EndPendingIfMonitorGone() {
    if (!pending_ || peers_.MonitorRunning())
        return false;
    pending_ = false;
    return true;
}

bool OptionSession::ProfileChanged() {
    if (!FetchShared())
        return false;
    *reference_ = *scratch_;
    *edit_ = *reference_;
    MergeMacros();
    return true;
}

bool OptionSession::SettingChanged() {
    if (!FetchShared())
        return false;
    *reference_ = *scratch_;
    const int index = reference_->currentProfile;
    if (!settings::IsValidProfileIndex(index))
        return true;
    const settings::ProfileRecord& from = reference_->profiles[index];
    settings::ProfileRecord& to = edit_->profiles[index];
    to.Sensitivity_X = from.Sensitivity_X;
    to.Sensitivity_Y = from.Sensitivity_Y;
    to.Cpi_X = from.Cpi_X;
    to.Cpi_Y = from.Cpi_Y;
    to.CpiStep = from.CpiStep;
    to.PollingRate = from.PollingRate;
    return true;
}

bool OptionSession::SelectProfile(int index) {
    if (!settings::IsValidProfileIndex(index))
        return false;
    edit_->currentProfile = index;
    return true;
}

void OptionSession::ResetToDefaults() {
    settings::FillDefaults(*edit_, settings::DefaultsFor::Option);
    settings::ResetOsdSettings(osd_);
    settings::MarkAllChanged(*edit_);
}

ImportResult OptionSession::Import(const std::string& chosen, int index) {
    bool returnAfterGame = false;
    const ImportResult result = ImportProfile(files_, chosen, *edit_, index, &returnAfterGame);
    // A failed copy reloaded the profile from its old file: its choice stays too.
    if (result == ImportResult::Copied)
        returnAfterGame_[static_cast<std::size_t>(index)] = returnAfterGame;
    if (result != ImportResult::NoProfile && result != ImportResult::Unreadable)
        MergeMacros();
    return result;
}

bool OptionSession::Export(const std::string& path, int index) {
    return ExportProfile(
        files_, path, *edit_, index,
        settings::IsValidProfileIndex(index) && returnAfterGame_[static_cast<std::size_t>(index)]);
}

int OptionSession::FirmwareVersion() {
    return settings::ReadFirmwareVersion(files_);
}

}  // namespace option
