// The stage of every runtime test: a fresh program folder whose settings
// files the test writes first, the virtual mouse, and the real Monitor.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "common/settings/osd_settings.h"
#include "common/settings/settings_block.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/harness/input_recorder_win.h"

namespace e2e {

inline constexpr const char* kOsdTitle = "Professional Gaming Optical Mouse OSD";

// Device key codes (USB usages) and the virtual keys they give on the US layout.
inline constexpr std::uint8_t kCodeA = 0x04;
inline constexpr std::uint8_t kCodeB = 0x05;
inline constexpr std::uint8_t kCodeLeftShift = 0xE1;

class RuntimeE2E : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The settings Monitor will load: defaults until the test changes them.
    settings::SettingsBlock& Block() { return *block_; }
    settings::ProfileRecord& Profile(int index) { return block_->profiles[index]; }
    // Button n (1..15) of a profile.
    settings::ButtonAssignment& Button(int profile, int n) {
        return block_->profiles[profile].MacroKeyInfo[n - 1];
    }
    settings::OsdSettings& Osd() { return osd_; }
    void SetKeyCombination(int profile, int n, std::uint8_t keyCode, std::uint8_t modifiers);
    void SetMacro(int profile, int n, std::initializer_list<settings::MacroEvent> events,
                  int repeat = 1);

    // Writes the files, starts the virtual mouse (plugged unless told) and
    // Monitor, and waits until Monitor has opened the mouse.
    void Start(bool plugged = true);
    // Waits until the mouse's log shows an upload begun (the start-up's).
    bool UploadBegun(std::chrono::milliseconds timeout = kPatience);
    // Starts with profile 0's button 3 giving Ctrl+A, records the input from
    // then on and presses the button until A is down.
    void StartHoldingCtrlA(std::optional<InputRecorder>& input);
    // Runs a command of the virtual mouse; its exit code (0 success).
    long VirtualMouse(const std::string& arguments);
    void Inject(const std::string& spec);
    // The virtual mouse's decoded state.
    std::string Dump();
    bool ReadShared(settings::SettingsBlock& block);
    HWND MonitorWindow() const { return FindWindowA(nullptr, kMonitorTitle); }
    // Waits until Monitor has handled every event injected so far. Events
    // reach Monitor's window in the order they are injected, so a marker event
    // that Monitor answers with a debug text is handled after all of them: the
    // current profile's own sensitivity, which changes nothing but tells Option
    // (1257) and says "Show OSD".
    bool EventsHandled();
    // Before checks that something did NOT happen: every injected event
    // handled, then `window` for what those events set off elsewhere to show
    // if it wrongly would. Input and messages to other windows leave Monitor
    // while it handles the event, so once the marker is answered they are
    // already queued here and the short default only lets this thread and the
    // hooks take them in; what runs on a timer or starts a program needs a
    // window of its own.
    void Settle(std::chrono::milliseconds window = std::chrono::milliseconds(150));

    ProgramFolder folder_;
    std::optional<VirtualMouseSession> mouse_;
    Program monitor_;
    std::unique_ptr<settings::SettingsBlock> block_;
    settings::OsdSettings osd_{};
};

}  // namespace e2e
