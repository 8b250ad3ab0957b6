#include "monitor/device/upload_sequence.h"

#include <algorithm>

namespace device {

UploadSequence::UploadSequence(Transport& transport, Pacer& pacer,
                               const std::atomic<std::int32_t>& abort)
    : transport_(transport), pacer_(pacer), abort_(abort) {}

bool UploadSequence::Run(protocol::UploadJob job, const settings::SettingsBlock& block,
                         const UploadHooks& hooks) {
    switch (job) {
        case protocol::UploadJob::ChangedOnly:
            return Upload(block, false);
        case protocol::UploadJob::Full:
            return Upload(block, true);
        case protocol::UploadJob::SelectProfile:
            return SelectProfile(block, hooks);
    }
    return false;
}

void UploadSequence::MarkTransfer() {
    scheduleUs_ = pacer_.NowMicros();
}

bool UploadSequence::Wait(int ms) {
    scheduleUs_ += std::int64_t{ms} * 1000;
    const std::int64_t deadline = scheduleUs_;
    const std::int64_t slice = std::int64_t{kWaitSliceMs} * 1000;
    for (;;) {
        if (Aborted())
            return false;
        const std::int64_t remaining = deadline - pacer_.NowMicros();
        if (remaining <= 0)
            break;
        pacer_.SleepMicros(std::min(remaining, slice));
    }
    return !Aborted();
}

bool UploadSequence::Command(std::uint8_t code, std::uint8_t byte1, std::uint8_t byte2,
                             int pauseMs) {
    transport_.SendCommand(MakeCommand(code, byte1, byte2));
    MarkTransfer();
    return Wait(pauseMs);
}

bool UploadSequence::SendBlock(std::uint8_t code, std::uint8_t byte1, const DataBlock& block) {
    transport_.SendCommand(MakeCommand(code, byte1, kBlockLengthArgument));
    DataChunk chunk{};
    std::copy_n(block.begin(), chunk.size(), chunk.begin());
    transport_.WriteChunk(chunk);
    MarkTransfer();
    if (!Wait(kChunkPauseMs))
        return false;
    std::copy_n(block.begin() + chunk.size(), chunk.size(), chunk.begin());
    lastBlockResult_ = transport_.WriteChunk(chunk);
    MarkTransfer();
    return Wait(kChunkPauseMs);
}

bool UploadSequence::SelectProfile(const settings::SettingsBlock& block, const UploadHooks& hooks) {
    // An index outside 0..4 (a reset block) names no profile the mouse knows.
    if (!settings::IsValidProfileIndex(block.currentProfile))
        return true;
    const int profile = block.currentProfile;
    if (!Command(command::kSelectProfile, ProfileNumber(profile), 0, kCommandPauseMs))
        return false;
    if (hooks.afterProfileSelected)
        hooks.afterProfileSelected(profile);
    return true;
}

bool UploadSequence::Upload(const settings::SettingsBlock& block, bool full) {
    for (int i = 0; i < kBeginRepeats; ++i) {
        if (!Command(command::kBeginConfiguration, kBeginConfigurationArgument, 0, kCommandPauseMs))
            return false;
    }

    if ((settings::SelectProfileRequested(block) || full) &&
        settings::IsValidProfileIndex(block.currentProfile)) {
        if (!Command(command::kSelectProfile, ProfileNumber(block.currentProfile), 0,
                     kCommandPauseMs))
            return false;
    }

    for (int p = 0; p < settings::kProfileCount; ++p) {
        if (!Command(command::kPollingRate, ProfileNumber(p),
                     ReportIntervalMs(block.profiles[p].PollingRate), kCommandPauseMs))
            return false;
    }
    for (int p = 0; p < settings::kProfileCount; ++p) {
        const std::uint8_t stage = StageNumber(block.profiles[p].CpiStep);
        if (!Command(command::kActiveDpiStage, ProfileNumber(p), stage, kCommandPauseMs))
            return false;
    }
    for (int p = 0; p < settings::kProfileCount; ++p) {
        if (!SendBlock(command::kProfileParameters, ProfileNumber(p),
                       BuildProfileParameterBlock(block.profiles[p])))
            return false;
        if (!Wait(kCommandPauseMs))
            return false;
    }

    staging_.Clear();

    for (int p = 0; p < settings::kProfileCount; ++p) {
        if (!full && !settings::ButtonGroupChanged(block, p))
            continue;
        BuildKeyMapAndMacros(block.profiles[p], p, keyMap_, staging_);
        if (!SendBlock(command::kKeyMap, ProfileNumber(p), keyMap_))
            return false;
        if (!Wait(kKeyMapPauseMs))
            return false;
        for (int b = 0; b < settings::kButtonCount; ++b) {
            const int slot = MacroSlot(p, b);
            if (!staging_.IsStaged(slot))
                continue;
            if (!SendBlock(command::kMacro, static_cast<std::uint8_t>(slot), staging_.Block(slot)))
                return false;
        }
    }
    return true;
}

}  // namespace device
