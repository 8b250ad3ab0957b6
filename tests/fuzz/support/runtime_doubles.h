// Monitor's runtime with every seam replaced by a quiet double, for fuzzing:
// unlike the unit tests' doubles these accept any call, because a hostile
// input may legitimately reach every one of them. Time is fake and only moves
// when the runtime waits; a macro that would play on past kPlayBudgetUs (a
// huge repeat count plays until stopped) is asked to stop, as the user would,
// so every input runs in bounded time.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/settings/settings_block.h"
#include "monitor/runtime/monitor_runtime.h"
#include "tests/fuzz/support/fuzz_check.h"

namespace fuzz {

inline constexpr std::int64_t kPlayBudgetUs = 20LL * 1000 * 1000;

class QuietClock final : public runtime::Clock {
  public:
    std::int64_t NowUs() override { return now_; }
    void SleepUntilUs(std::int64_t deadline) override {
        if (deadline > now_)
            now_ = deadline;
        if (now_ - budgetStart_ > kPlayBudgetUs && onBudgetSpent)
            onBudgetSpent();
    }
    void StartBudget() { budgetStart_ = now_; }
    void Advance(std::int64_t us) { now_ += us; }
    std::function<void()> onBudgetSpent;

  private:
    std::int64_t now_ = 0;
    std::int64_t budgetStart_ = 0;
};

// Counts presses and releases of each key, so a harness can see what is held.
class CountingInput final : public runtime::InputSink {
  public:
    void KeyDown(std::uint8_t v) override { ++down[v]; }
    void KeyUp(std::uint8_t v) override { ++up[v]; }
    void ExtendedKeyDown(std::uint8_t v) override { ++down[v]; }
    void ExtendedKeyUp(std::uint8_t v) override { ++up[v]; }
    void MouseButton(std::uint32_t, std::uint32_t) override { ++mouseEvents; }
    std::map<std::uint8_t, long> down;
    std::map<std::uint8_t, long> up;
    long mouseEvents = 0;
};

// Letters, digits and modifiers have a virtual key; the rest has none.
class SmallKeyTable final : public runtime::KeyTranslator {
  public:
    std::uint8_t VirtualKey(std::uint8_t code) override {
        if (code >= 4 && code <= 29)
            return static_cast<std::uint8_t>('A' + code - 4);
        if (code >= 30 && code <= 39)
            return static_cast<std::uint8_t>('0' + (code - 29) % 10);
        static const std::uint8_t mods[8] = {0xA2, 0xA0, 0xA4, 0x5B, 0xA3, 0xA1, 0xA5, 0x5C};
        if (code >= 224 && code <= 231)
            return mods[code - 224];
        return 0;
    }
};

class QuietTimers final : public runtime::TimerControl {
  public:
    void StartTimer(unsigned id, unsigned) override { running[id] = true; }
    void StopTimer(unsigned id) override { running[id] = false; }
    std::map<unsigned, bool> running;
};

class QuietDebug final : public runtime::DebugOutput {
  public:
    void Write(const char* text) override { FUZZ_CHECK(text != nullptr); }
};

class QuietOsd final : public runtime::OsdChannel {
  public:
    std::uintptr_t FindOsdWindow() override { return 77; }
    void PostToOsd(std::uintptr_t, unsigned, std::uintptr_t, std::intptr_t) override {}
    void WriteConfig(const char* section, const char* key, const char* value) override {
        FUZZ_CHECK(section != nullptr && key != nullptr && value != nullptr);
        lastValue = value;
    }
    std::string lastValue;
};

class QuietMedia final : public runtime::MediaHost {
  public:
    std::optional<std::string> ReadRegistryString(const runtime::RegistryPath&,
                                                  const char*) override {
        return "\"C:\\Program Files\\player\\player.exe\" /play";
    }
    std::string ExpandEnvironment(const std::string& text) override { return text; }
    std::uintptr_t FindTopWindow(const char*, const char*) override { return 0; }
    void BringToForeground(std::uintptr_t) override {}
    void Run(const std::string&) override {}
    void PostAppCommand(int) override {}
    bool SendMessageTo(std::uintptr_t, unsigned, std::uintptr_t, std::intptr_t) override {
        return true;
    }
    void PostMessageTo(std::uintptr_t, unsigned, std::uintptr_t, std::intptr_t) override {}
};

// A desktop with one edit window under the pointer and nothing else.
class OneWindowDesktop final : public runtime::WindowSystem {
  public:
    runtime::ScreenPoint CursorPos() override { return {100, 100}; }
    void SetCursorPos(runtime::ScreenPoint) override {}
    runtime::WindowHandle WindowFromPoint(runtime::ScreenPoint) override { return 2; }
    runtime::WindowHandle ChildFromPoint(runtime::WindowHandle, runtime::ScreenPoint) override {
        return 0;
    }
    std::string ClassName(runtime::WindowHandle) override { return "Edit"; }
    runtime::WindowHandle Parent(runtime::WindowHandle w) override { return w == 2 ? 1 : 0; }
    runtime::WindowHandle FirstChild(runtime::WindowHandle) override { return 0; }
    runtime::WindowHandle NextSibling(runtime::WindowHandle) override { return 0; }
    runtime::WindowHandle PreviousSibling(runtime::WindowHandle) override { return 0; }
    runtime::ScreenRect WindowRect(runtime::WindowHandle) override { return {0, 0, 640, 480}; }
    std::uint32_t Style(runtime::WindowHandle) override { return 0; }
    runtime::WindowHandle Desktop() override { return 1; }
    std::vector<runtime::WindowHandle> Descendants(runtime::WindowHandle) override { return {}; }
    void Post(runtime::WindowHandle, unsigned, std::uintptr_t, std::intptr_t) override {}
    bool ButtonsSwapped() override { return false; }
};

class FixedForeground final : public runtime::ForegroundQuery {
  public:
    bool ForegroundExeName(std::string& name) override {
        name = exe;
        return !exe.empty();
    }
    bool ProcessRunning(std::string_view) override { return true; }
    std::string exe = "game.exe";
};

// Monitor's window as far as the runtime sees it: the block, the posts it
// makes (a posted macro start is played at once, as the macro thread would).
class QuietHost final : public runtime::MonitorHost {
  public:
    explicit QuietHost(settings::SettingsBlock& block) : block_(block) {}
    const settings::SettingsBlock& Block() override { return block_; }
    void ChangeBlock(const std::function<void(settings::SettingsBlock&)>& change) override {
        FUZZ_CHECK(!changing_);
        changing_ = true;
        change(block_);
        changing_ = false;
    }
    bool Connected() override { return connected; }
    void ConnectionEvent(bool arrived) override { connected = arrived; }
    void PublishBlock() override { FUZZ_CHECK(!changing_); }
    bool PostUploadJob(protocol::UploadJob job) override {
        FUZZ_CHECK(job == protocol::UploadJob::SelectProfile);
        return true;
    }
    void WriteRegistryAndApply() override {}
    bool PostToOption(unsigned) override { return true; }
    void PostOpenOption() override {}
    bool PostPlayMacro() override {
        macroPosted = true;
        return true;
    }
    void Launch(const char* path) override { FUZZ_CHECK(path != nullptr); }

    bool connected = true;
    bool macroPosted = false;

  private:
    settings::SettingsBlock& block_;
    bool changing_ = false;
};

// The runtime and all its doubles, wired as Monitor's window wires them.
struct RuntimeRig {
    explicit RuntimeRig(settings::SettingsBlock& block)
        : host(block),
          runtime(runtime::RuntimePorts{host, input, clock, keys, timers, debug, osd, media,
                                        windows, foreground}) {
        clock.onBudgetSpent = [this] { runtime.Macro().RequestStop(); };
    }

    // The macro thread's turn: plays what the window thread queued.
    void RunMacroThread() {
        if (!host.macroPosted)
            return;
        host.macroPosted = false;
        clock.StartBudget();
        runtime.PlayQueuedMacro();
    }

    QuietClock clock;
    CountingInput input;
    SmallKeyTable keys;
    QuietTimers timers;
    QuietDebug debug;
    QuietOsd osd;
    QuietMedia media;
    OneWindowDesktop windows;
    FixedForeground foreground;
    QuietHost host;
    runtime::MonitorRuntime runtime;
};

}  // namespace fuzz
