// Macro playback. The window thread starts or stops a macro (StartOrStop);
// the macro thread plays it on thread message kThreadPlayMacro (PlayQueued). The two
// threads share only the buffer, written before the start is posted, and a
// few atomic flags.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "common/settings/settings_block.h"
#include "monitor/runtime/runtime_ports.h"

namespace runtime {

inline constexpr int kLongHoldMs = 500;     // a press held longer imitates auto-repeat
inline constexpr int kLongHoldStepMs = 33;  // up/down pairs this far apart
inline constexpr int kStopReleaseMs = 50;   // between the releases after a stop
inline constexpr int kAbandonCheckMs = 50;  // an abandoned macro's wait ends this soon

enum class MacroStart {
    Ignored,        // no events: nothing to play
    Queued,         // the caller posts thread message kThreadPlayMacro to the macro thread
    StopRequested,  // a macro was playing (or queued): it will stop
};

bool IsMouseButtonCode(std::uint8_t code);
// Down/up flags and data of a mouse button code 240..244.
void MouseButtonEvent(std::uint8_t code, bool down, std::uint32_t& flags, std::uint32_t& data);

class MacroPlayer {
  public:
    MacroPlayer(InputSink& input, Clock& clock, KeyTranslator& keys, DebugOutput& debug)
        : input_(input), clock_(clock), keys_(keys), debug_(debug) {}

    // Window thread, macro button pressed.
    MacroStart StartOrStop(const settings::ButtonAssignment& record);
    // Window thread: the post of kThreadPlayMacro failed, so the queued start is dropped.
    void CancelQueued();
    // Any thread: stop the playing macro (its held keys are released).
    void RequestStop() { stopRequest_.store(true); }
    // Any thread, when the computer sleeps, the screen locks or the session
    // ends: stop as RequestStop does, but without finishing the wait under
    // way and without pausing between the releases, so that no key stays
    // down for the rest of a long delay. The next start clears it.
    void Abandon() {
        abandon_.store(true);
        stopRequest_.store(true);
    }

    // Macro thread, on kThreadPlayMacro: plays the buffer from the current action index.
    void PlayQueued();

    bool Running() const { return running_.load(); }
    bool Busy() const { return active_.load(); }

  private:
    // The playback itself: events start..end-1, repeat times.
    void Play(int start, int end, int repeat);
    // Waits until `ms` after `markUs`, ending early once abandoned.
    void WaitFrom(std::int64_t markUs, int ms);
    bool StopRequested() const { return stopRequest_.load(); }
    void ReleaseHeld(std::vector<std::uint8_t>& held, int start);

    InputSink& input_;
    Clock& clock_;
    KeyTranslator& keys_;
    DebugOutput& debug_;

    settings::MacroEvent buffer_[settings::kMaxMacroEvents]{};
    std::atomic<int> repeat_{1};
    std::atomic<int> eventCount_{0};
    std::atomic<int> curAction_{0};
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequest_{false};
    std::atomic<bool> abandon_{false};
    // Set from the moment a start is queued until its playback ends, so a
    // second press between the post and the playback's start stops it
    // instead of queueing a second run.
    std::atomic<bool> active_{false};
};

}  // namespace runtime
