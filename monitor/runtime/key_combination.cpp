#include "monitor/runtime/key_combination.h"

#include "common/protocol.h"
#include "common/settings/settings_block.h"

namespace runtime {

int CollectModifiers(std::uint8_t flags, std::uint8_t (&out)[4]) {
    if (flags & settings::modifier::kPlainKey)
        return 0;
    int n = 0;
    if (flags & settings::modifier::kCtrl)
        out[n++] = vk::kControl;
    if (flags & settings::modifier::kShift)
        out[n++] = vk::kShift;
    if (flags & settings::modifier::kAlt)
        out[n++] = vk::kMenu;
    if (flags & settings::modifier::kWin)
        out[n++] = vk::kLeftWin;
    return n;
}

void KeyCombinationPlayer::PressKeys(Combination combo) {
    std::uint8_t mods[4];
    const int count = CollectModifiers(combo.modifiers, mods);
    const std::uint8_t v = GenericModifier(keys_.VirtualKey(combo.keyCode));
    for (int i = 0; i < count; ++i) {
        input_.KeyDown(mods[i]);
        clock_.SleepMs(1);
    }
    if (v != 0)
        input_.KeyDown(v);
}

void KeyCombinationPlayer::ReleaseKeys(Combination combo) {
    std::uint8_t mods[4];
    const int count = CollectModifiers(combo.modifiers, mods);
    const std::uint8_t v = GenericModifier(keys_.VirtualKey(combo.keyCode));
    if (v != 0)
        input_.KeyUp(v);
    for (int i = count - 1; i >= 0; --i) {
        clock_.SleepMs(1);
        input_.KeyUp(mods[i]);
    }
}

void KeyCombinationPlayer::Press(Combination combo) {
    // The repeats of a held combination are timed like a macro's events.
    if (!holding_)
        clock_.BeginPrecise();
    held_ = combo;
    holding_ = true;
    PressKeys(combo);
    firstRepeat_ = true;
    timers_.StartTimer(protocol::kTimerKeyRepeat, kFirstRepeatMs);
}

void KeyCombinationPlayer::Release(Combination combo) {
    timers_.StopTimer(protocol::kTimerKeyRepeat);
    const bool wasHolding = holding_;
    held_ = combo;
    holding_ = false;
    firstRepeat_ = false;
    ReleaseKeys(combo);
    if (wasHolding)
        clock_.EndPrecise();
}

void KeyCombinationPlayer::OnRepeatTimer() {
    if (!holding_) {
        // A stray tick after the release: the timer is no longer wanted.
        timers_.StopTimer(protocol::kTimerKeyRepeat);
        return;
    }
    if (firstRepeat_) {
        timers_.StopTimer(protocol::kTimerKeyRepeat);
        firstRepeat_ = false;
        timers_.StartTimer(protocol::kTimerKeyRepeat, kRepeatMs);
    }
    const std::uint8_t v = keys_.VirtualKey(held_.keyCode);
    if (v == 0 || v == vk::kLeftWin || v == vk::kRightWin)
        return;
    if (v >= vk::kLeftShift && v <= vk::kRightMenu)
        return;
    input_.KeyUp(v);
    clock_.SleepMs(1);
    input_.KeyDown(v);
}

void KeyCombinationPlayer::VolumeStep(std::uint8_t key) {
    input_.ExtendedKeyDown(key);
    input_.ExtendedKeyUp(key);
}

void KeyCombinationPlayer::VolumePress(int key) {
    switch (key) {
        case kMediaMute:
            VolumeStep(vk::kVolumeMute);
            break;
        case kMediaVolumeUp:
        case kMediaVolumeDown:
            volumeKey_ = key;
            volumeHeld_ = true;
            VolumeStep(key == kMediaVolumeUp ? vk::kVolumeUp : vk::kVolumeDown);
            timers_.StartTimer(protocol::kTimerVolumeRepeat, kVolumeRepeatMs);
            break;
        default:
            break;
    }
}

void KeyCombinationPlayer::VolumeRelease(int key) {
    if (key != kMediaVolumeUp && key != kMediaVolumeDown)
        return;
    volumeKey_ = key;
    volumeHeld_ = false;
    timers_.StopTimer(protocol::kTimerVolumeRepeat);
}

void KeyCombinationPlayer::OnVolumeTimer() {
    if (!volumeHeld_) {
        timers_.StopTimer(protocol::kTimerVolumeRepeat);
        return;
    }
    VolumeStep(volumeKey_ == kMediaVolumeUp ? vk::kVolumeUp : vk::kVolumeDown);
}

void KeyCombinationPlayer::ReleaseHeld() {
    timers_.StopTimer(protocol::kTimerKeyRepeat);
    timers_.StopTimer(protocol::kTimerVolumeRepeat);
    volumeHeld_ = false;
    firstRepeat_ = false;
    if (holding_) {
        holding_ = false;
        ReleaseKeys(held_);
        clock_.EndPrecise();
    }
}

}  // namespace runtime
