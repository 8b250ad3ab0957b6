#include "monitor/runtime/monitor_runtime.h"

#include <cstdio>
#include <iterator>

#include "common/protocol.h"
#include "common/trace_points.h"

namespace runtime {

int PollingRateForInterval(int ms) {
    switch (ms) {
        case 1:
            return 3;
        case 2:
            return 2;
        case 4:
            return 1;
        case 8:
            return 0;
        default:
            return -1;
    }
}

MonitorRuntime::MonitorRuntime(const RuntimePorts& ports)
    : host_(ports.host),
      debug_(ports.debug),
      foreground_(ports.foreground),
      keys_(ports.input, ports.clock, ports.keys, ports.timers),
      macro_(ports.input, ports.clock, ports.keys, ports.debug),
      media_(ports.media, ports.clock),
      notices_(ports.osd),
      tilt_(ports.windows, ports.input) {}

void MonitorRuntime::OnDeviceEvent(std::uintptr_t wParam, std::intptr_t lParam) {
    DispatchDeviceEvent(DeviceEventCode(wParam, lParam), *this);
}

void MonitorRuntime::OnConnectionMessage(std::uintptr_t wParam) {
    DispatchDeviceEvent(ConnectionEventCode(wParam), *this);
}

void MonitorRuntime::StopActions() {
    ReleaseHeld();
    macro_.Abandon();
}

void MonitorRuntime::SetActionsRun(bool run) {
    if (!run)
        StopActions();
    actionsRun_ = run;
}

void MonitorRuntime::ReleaseHeld() {
    // Most recent press last in the player: the others first, then the one
    // that repeats.
    for (std::optional<Combination>& combo : pressed_) {
        if (combo && !(keys_.Holding() && keys_.Held() == *combo))
            keys_.ReleaseKeysOnly(*combo);
        combo.reset();
    }
    keys_.ReleaseHeld();
}

const settings::ButtonAssignment* MonitorRuntime::Button(int button) {
    if (button < 1 || button > settings::kButtonCount)
        return nullptr;
    const settings::ProfileRecord* profile = settings::CurrentProfile(host_.Block());
    if (profile == nullptr)
        return nullptr;
    return &profile->MacroKeyInfo[button - 1];
}

void MonitorRuntime::ConnectionChanged(bool arrived) {
    // A button held while the mouse goes away never reports its release.
    if (!arrived)
        ReleaseHeld();
    host_.ConnectionEvent(arrived);
}

void MonitorRuntime::Tilt(bool right) {
    if (!actionsRun_)
        return;
    const settings::ProfileRecord* profile = settings::CurrentProfile(host_.Block());
    if (profile == nullptr)
        return;
    tilt_.ScrollNotch(right, profile->TiltSpeed);
}

void MonitorRuntime::SwitchProfile(int index) {
    if (!actionsRun_ || !settings::IsValidProfileIndex(index))
        return;
    // The user's own choice: a game ending later does not undo it.
    gameReturn_.Forget();
    MakeCurrent(index);
}

void MonitorRuntime::MakeCurrent(int index) {
    host_.ChangeBlock([index](settings::SettingsBlock& block) { block.currentProfile = index; });
    host_.PublishBlock();
    // Job 3 shows the profile notice once the mouse has the selection
    // (OnProfileSelected), so the notice never runs ahead of the mouse.
    host_.PostUploadJob(protocol::UploadJob::SelectProfile);
    host_.WriteRegistryAndApply();
    host_.PostToOption(protocol::kMsgProfileChanged);
}

void MonitorRuntime::ButtonAction(int button, bool released, bool notice) {
    // Releases too: the keys of a press made before the actions stopped
    // went up when they stopped.
    if (!actionsRun_)
        return;
    const settings::ButtonAssignment* record = Button(button);
    if (record == nullptr)
        return;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(record);
    const Combination combo{raw[settings::kComboKeyOffset], raw[settings::kComboModifierOffset]};
    std::optional<Combination>& pressed = pressed_[static_cast<std::size_t>(button - 1)];
    if (released && pressed) {
        keys_.Release(*pressed);
        pressed.reset();
    } else if (record->actionCode == settings::action::kKeyCombination) {
        if (released) {
            keys_.Release(combo);
        } else {
            // A second press without a release in between: the first one's
            // keys go up before the new ones go down.
            if (pressed)
                keys_.Release(*pressed);
            pressed = combo;
            keys_.Press(combo);
        }
    } else if (record->actionCode == settings::action::kMacro && !released) {
        if (macro_.StartOrStop(*record) == MacroStart::Queued && !host_.PostPlayMacro()) {
            macro_.CancelQueued();
        }
    }
    if (notice && !released)
        notices_.Macro(button - 1, *record);
}

void MonitorRuntime::LaunchProgram(int button) {
    if (!actionsRun_)
        return;
    const settings::ButtonAssignment* record = Button(button);
    if (record == nullptr || record->actionCode != settings::action::kLaunchProgram)
        return;
    char path[sizeof record->programPath + 1] = {};
    for (std::size_t i = 0; i < sizeof record->programPath && record->programPath[i]; ++i) {
        path[i] = record->programPath[i];
    }
    if (path[0] != '\0')
        host_.Launch(path);
}

void MonitorRuntime::OpenOption() {
    if (!actionsRun_)
        return;
    host_.PostOpenOption();
}

void MonitorRuntime::SettingTakenOver(bool cpi) {
    host_.PublishBlock();
    char text[48];
    std::snprintf(text, sizeof text, trace::kShowOsd, static_cast<int>(notices_.Window()));
    debug_.Write(text);
    host_.PostToOption(protocol::kMsgSettingChanged);
    if (cpi) {
        if (const settings::ProfileRecord* p = settings::CurrentProfile(host_.Block())) {
            notices_.Cpi(*p);
        }
    }
}

void MonitorRuntime::ChangeCurrentProfile(
    const std::function<void(settings::ProfileRecord&)>& change) {
    host_.ChangeBlock([&change](settings::SettingsBlock& block) {
        if (settings::ProfileRecord* profile = settings::CurrentProfile(block))
            change(*profile);
    });
}

void MonitorRuntime::CpiLevelChanged(int level) {
    if (settings::CurrentProfile(host_.Block()) == nullptr || level < 0 || level > 7)
        return;
    ChangeCurrentProfile([level](settings::ProfileRecord& profile) { profile.CpiStep = level; });
    SettingTakenOver(true);
}

void MonitorRuntime::PollingIntervalChanged(int ms) {
    if (settings::CurrentProfile(host_.Block()) == nullptr)
        return;
    const int rate = PollingRateForInterval(ms);
    if (rate >= 0) {
        ChangeCurrentProfile(
            [rate](settings::ProfileRecord& profile) { profile.PollingRate = rate; });
    }
    SettingTakenOver(false);
}

void MonitorRuntime::SensitivityChanged(int x, int y) {
    if (settings::CurrentProfile(host_.Block()) == nullptr)
        return;
    const bool xInRange = x >= 1 && x <= 20;
    const bool yInRange = y >= 1 && y <= 20;
    if (!xInRange && !yInRange)
        return;
    ChangeCurrentProfile([=](settings::ProfileRecord& profile) {
        if (xInRange)
            profile.Sensitivity_X = x;
        if (yInRange)
            profile.Sensitivity_Y = y;
    });
    SettingTakenOver(false);
}

void MonitorRuntime::MediaKey(int key, bool released) {
    if (!actionsRun_)
        return;
    if (key == kMediaVolumeUp || key == kMediaVolumeDown) {
        if (released) {
            keys_.VolumeRelease(key);
        } else {
            keys_.VolumePress(key);
        }
        return;
    }
    if (released)
        return;
    if (key == kMediaMute) {
        keys_.VolumePress(key);
        return;
    }
    const settings::ProfileRecord* profile = settings::CurrentProfile(host_.Block());
    if (profile == nullptr)
        return;
    // Key 32 starts the player; keys 33 to 36 are its transport buttons.
    static constexpr MediaCommand kTransport[] = {MediaCommand::Next, MediaCommand::Previous,
                                                  MediaCommand::PlayPause, MediaCommand::Stop};
    constexpr int kStartPlayer = 32;
    if (key == kStartPlayer)
        media_.StartOrActivate(profile->MediaOption);
    else if (key > kStartPlayer && key <= kStartPlayer + static_cast<int>(std::size(kTransport)))
        media_.Transport(profile->MediaOption,
                         kTransport[static_cast<std::size_t>(key - kStartPlayer - 1)]);
}

void MonitorRuntime::OnGameWatchTimer() {
    if (!actionsRun_ || !host_.Connected())
        return;
    const int current = host_.Block().currentProfile;
    const int back = gameReturn_.Poll(current, foreground_);
    if (back >= 0) {
        MakeCurrent(back);
    } else {
        std::string exe;
        const int match = PollGameProfile(host_.Block(), foreground_, &exe);
        if (match >= 0) {
            gameReturn_.AutoSwitched(current, match, exe);
            MakeCurrent(match);
        }
    }
    // Said once the poll and its switch are done, so that a watcher of the
    // debug output knows a poll passed rather than guessing from the clock.
    debug_.Write(trace::kGameWatchPoll);
}

}  // namespace runtime
