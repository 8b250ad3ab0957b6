// Key-combination buttons and the volume keys, played on the window thread.
// A held combination keeps its modifiers down and repeats its main key from
// timer kTimerKeyRepeat; a held volume button repeats from timer kTimerVolumeRepeat.
#pragma once

#include <cstdint>

#include "monitor/runtime/runtime_ports.h"

namespace runtime {

// The key combination of a button record: bytes 38 and 39.
struct Combination {
    std::uint8_t keyCode = 0;
    std::uint8_t modifiers = 0;
    bool operator==(const Combination&) const = default;
};

// Media key data values that the volume repeater acts on.
inline constexpr int kMediaMute = 37;
inline constexpr int kMediaVolumeUp = 38;
inline constexpr int kMediaVolumeDown = 39;

inline constexpr unsigned kFirstRepeatMs = 1000;
inline constexpr unsigned kRepeatMs = 100;
inline constexpr unsigned kVolumeRepeatMs = 300;

class KeyCombinationPlayer {
  public:
    KeyCombinationPlayer(InputSink& input, Clock& clock, KeyTranslator& keys, TimerControl& timers)
        : input_(input), clock_(clock), keys_(keys), timers_(timers) {}

    // Button pressed: modifiers Ctrl, Shift, Alt, Win 1 ms apart, then the key;
    // timer 102 armed for the first repeat.
    void Press(Combination combo);
    // Button released: timer 102 stopped, key up, modifiers up in reverse order.
    void Release(Combination combo);
    // Timer 102.
    void OnRepeatTimer();

    // Media data 37..39 pressed / released (volume keys and mute).
    void VolumePress(int key);
    void VolumeRelease(int key);
    // Timer 101.
    void OnVolumeTimer();

    // Lets go of whatever is held (combination keys, both repeat timers). For
    // device removal and shut-down, when the button's release never comes.
    void ReleaseHeld();

    bool Holding() const { return holding_; }
    // The combination that repeats while Holding().
    Combination Held() const { return held_; }
    // Lets go of a combination other than the repeating one (the repeat
    // carries on).
    void ReleaseKeysOnly(Combination combo) { ReleaseKeys(combo); }

  private:
    void PressKeys(Combination combo);
    void ReleaseKeys(Combination combo);
    void VolumeStep(std::uint8_t key);

    InputSink& input_;
    Clock& clock_;
    KeyTranslator& keys_;
    TimerControl& timers_;
    Combination held_{};
    bool holding_ = false;
    bool firstRepeat_ = false;
    int volumeKey_ = 0;
    bool volumeHeld_ = false;
};

// Modifier virtual keys selected by the flags, in pressing order; returns the
// count (0..4). Bit 0 (plain key) selects none.
int CollectModifiers(std::uint8_t flags, std::uint8_t (&out)[4]);

}  // namespace runtime
