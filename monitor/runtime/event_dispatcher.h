// The device event dispatcher: turns one 32-bit device event code (category
// in the high word, data in the low word) into one action of Monitor's side.
// Codes outside the table, or with data outside a row's range, are ignored.
#pragma once

#include <cstdint>

namespace runtime {

// What a device event asks of Monitor. Every call comes from the window thread.
class DeviceActions {
  public:
    virtual ~DeviceActions() = default;
    virtual void ConnectionChanged(bool arrived) = 0;
    virtual void Tilt(bool right) = 0;
    virtual void SwitchProfile(int index) = 0;  // 0..4
    // Button 1..15 pressed or released; notice: give the macro notice on press.
    virtual void ButtonAction(int button, bool released, bool notice) = 0;
    virtual void LaunchProgram(int button) = 0;  // 1..15, press only
    virtual void OpenOption() = 0;
    virtual void CpiLevelChanged(int level) = 0;        // 0..7
    virtual void PollingIntervalChanged(int ms) = 0;    // 1, 2, 4 or 8
    virtual void SensitivityChanged(int x, int y) = 0;  // each 1..20
    virtual void MediaKey(int key, bool released) = 0;  // 32..39
};

// The code message kMsgDeviceEvent carries: wParam x 65536 + (lParam AND 0xFFFF).
constexpr std::uint32_t DeviceEventCode(std::uintptr_t wParam, std::intptr_t lParam) {
    return static_cast<std::uint32_t>((static_cast<std::uint32_t>(wParam) << 16) |
                                      (static_cast<std::uint32_t>(lParam) & 0xFFFFu));
}

// The code message kMsgDeviceArrival turns into: 0x7F000001 arrived, 0x7F000002 removed,
// 0x7F000000 for any other wParam (ignored by the dispatcher).
constexpr std::uint32_t ConnectionEventCode(std::uintptr_t wParam) {
    return 0x7F000000u | (wParam == 1 ? 1u : wParam == 0 ? 2u : 0u);
}

// Returns true when the code matched a row and an action was called.
bool DispatchDeviceEvent(std::uint32_t code, DeviceActions& actions);

}  // namespace runtime
