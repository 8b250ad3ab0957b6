// Everything Monitor does on the computer in answer to device events: the
// device event actions, key combinations and volume keys, macros, program
// launch, media players, profile switches, setting takeover, automatic
// profiles, on-screen notices and tilt scrolling. Owned by Monitor's window;
// all calls come from the window thread except PlayQueuedMacro (macro thread).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "common/protocol.h"
#include "common/settings/settings_block.h"
#include "monitor/runtime/event_dispatcher.h"
#include "monitor/runtime/game_return.h"
#include "monitor/runtime/game_watch.h"
#include "monitor/runtime/key_combination.h"
#include "monitor/runtime/macro_player.h"
#include "monitor/runtime/media_players.h"
#include "monitor/runtime/osd_notices.h"
#include "monitor/runtime/runtime_ports.h"
#include "monitor/runtime/tilt_scroll.h"

namespace runtime {

// Monitor window's own duties the runtime asks for.
class MonitorHost {
  public:
    virtual ~MonitorHost() = default;
    // The private block. Only the window thread changes it, so the window
    // thread reads it without a lock.
    virtual const settings::SettingsBlock& Block() = 0;
    // Changes the private block under the lock the upload thread copies it
    // under. The lock is held for exactly this call: `change` touches the
    // block and nothing else (no messages, no other programs).
    virtual void ChangeBlock(const std::function<void(settings::SettingsBlock&)>& change) = 0;
    virtual bool Connected() = 0;  // connection state 1
    // Arrival or removal reported by the device library (device link).
    virtual void ConnectionEvent(bool arrived) = 0;
    // Copy the private block into the shared section under the mutex.
    virtual void PublishBlock() = 0;
    virtual bool PostUploadJob(protocol::UploadJob job) = 0;
    // Write the current profile's system mouse values to the registry and apply them.
    virtual void WriteRegistryAndApply() = 0;
    // Post to Option's window; false when it does not exist.
    virtual bool PostToOption(unsigned message) = 0;
    // WM_COMMAND 6001 to Monitor's own window.
    virtual void PostOpenOption() = 0;
    // Thread message kThreadPlayMacro to the macro thread; false when the post failed.
    virtual bool PostPlayMacro() = 0;
    // ShellExecute "open", show normal.
    virtual void Launch(const char* path) = 0;
};

struct RuntimePorts {
    MonitorHost& host;
    InputSink& input;
    Clock& clock;
    KeyTranslator& keys;
    TimerControl& timers;
    DebugOutput& debug;
    OsdChannel& osd;
    MediaHost& media;
    WindowSystem& windows;
    ForegroundQuery& foreground;
};

class MonitorRuntime final : public DeviceActions {
  public:
    explicit MonitorRuntime(const RuntimePorts& ports);

    // Message kMsgDeviceEvent / kMsgDeviceArrival.
    void OnDeviceEvent(std::uintptr_t wParam, std::intptr_t lParam);
    void OnConnectionMessage(std::uintptr_t wParam);
    // WM_TIMER 101, 102, 500.
    void OnVolumeTimer() { keys_.OnVolumeTimer(); }
    void OnKeyRepeatTimer() { keys_.OnRepeatTimer(); }
    void OnGameWatchTimer();
    // The upload thread has told the mouse the profile of a switch (job 3's
    // selection and its pause are over): now the switch is shown.
    void OnProfileSelected(int index) { notices_.Profile(index); }
    // Macro thread, thread message kThreadPlayMacro.
    void PlayQueuedMacro() { macro_.PlayQueued(); }

    // Lets go of every held combination and volume key and kills timers kTimerVolumeRepeat,
    // 102.
    void ReleaseHeld();
    // Lets go of held keys, stops the key and volume repeats and asks a
    // playing macro to stop (it lets go of what it holds).
    void StopActions();
    // Shut-down: everything stops, so the macro thread can be joined.
    void Shutdown() { StopActions(); }
    // Whether button actions run at all: not while the computer sleeps, the
    // screen is locked or the session is away from the console. Turned off,
    // whatever runs stops.
    void SetActionsRun(bool run);
    bool ActionsRun() const { return actionsRun_; }

    OsdNotices& Notices() { return notices_; }
    GameReturn& GameReturns() { return gameReturn_; }
    MacroPlayer& Macro() { return macro_; }
    KeyCombinationPlayer& Keys() { return keys_; }
    MediaPlayers& Media() { return media_; }

    // DeviceActions.
    void ConnectionChanged(bool arrived) override;
    void Tilt(bool right) override;
    void SwitchProfile(int index) override;
    void ButtonAction(int button, bool released, bool notice) override;
    void LaunchProgram(int button) override;
    void OpenOption() override;
    void CpiLevelChanged(int level) override;
    void PollingIntervalChanged(int ms) override;
    void SensitivityChanged(int x, int y) override;
    void MediaKey(int key, bool released) override;

  private:
    const settings::ButtonAssignment* Button(int button);
    // The switch itself, whoever asked for it.
    void MakeCurrent(int index);
    void SettingTakenOver(bool cpi);
    // A change of the current profile record, under the host's block lock.
    void ChangeCurrentProfile(const std::function<void(settings::ProfileRecord&)>& change);

    MonitorHost& host_;
    DebugOutput& debug_;
    bool actionsRun_ = true;
    // The combination each button's press put down, until its release takes
    // it up again. The release lets go of these keys, not of whatever the
    // button's record names by then: a profile switch or an Apply between
    // press and release would otherwise leave the pressed keys down.
    std::array<std::optional<Combination>, settings::kButtonCount> pressed_{};
    ForegroundQuery& foreground_;
    KeyCombinationPlayer keys_;
    MacroPlayer macro_;
    MediaPlayers media_;
    OsdNotices notices_;
    TiltScroller tilt_;
    GameReturn gameReturn_;
};

// Polling interval in ms -> PollingRate; -1 for intervals that change nothing.
int PollingRateForInterval(int ms);

}  // namespace runtime
