// The small seams through which Monitor's runtime reaches the system: input
// synthesis, the clock, window timers and key translation. The runtime logic
// only talks to these, so its key sequences and timings can be checked with a
// fake clock and a recording input sink.
#pragma once

#include <cstdint>

namespace runtime {

// A mouse button in a synthesised mouse event: the flags of its press and
// release and, for the X buttons, the data that names which one (the
// system's values).
struct MouseButtonFlags {
    std::uint32_t down;
    std::uint32_t up;
    std::uint32_t data;  // 0 for the buttons other than X
};
namespace mouse_button {
inline constexpr MouseButtonFlags kLeft{0x0002, 0x0004, 0};
inline constexpr MouseButtonFlags kRight{0x0008, 0x0010, 0};
inline constexpr MouseButtonFlags kMiddle{0x0020, 0x0040, 0};
inline constexpr MouseButtonFlags kX1{0x0080, 0x0100, 1};
inline constexpr MouseButtonFlags kX2{0x0080, 0x0100, 2};
}  // namespace mouse_button

// Virtual keys the runtime names itself.
namespace vk {
inline constexpr std::uint8_t kShift = 0x10;
inline constexpr std::uint8_t kControl = 0x11;
inline constexpr std::uint8_t kMenu = 0x12;
inline constexpr std::uint8_t kLeftWin = 0x5B;
inline constexpr std::uint8_t kRightWin = 0x5C;
inline constexpr std::uint8_t kLeftShift = 0xA0;
inline constexpr std::uint8_t kRightShift = 0xA1;
inline constexpr std::uint8_t kLeftControl = 0xA2;
inline constexpr std::uint8_t kRightControl = 0xA3;
inline constexpr std::uint8_t kLeftMenu = 0xA4;
inline constexpr std::uint8_t kRightMenu = 0xA5;
inline constexpr std::uint8_t kVolumeMute = 0xAD;
inline constexpr std::uint8_t kVolumeDown = 0xAE;
inline constexpr std::uint8_t kVolumeUp = 0xAF;
inline constexpr std::uint8_t kLeft = 0x25;
inline constexpr std::uint8_t kRight = 0x27;
inline constexpr std::uint8_t kSpace = 0x20;
}  // namespace vk

// Synthesised keyboard and mouse input. Keys carry the scan code the system
// gives for the virtual key; extended keys (volume) are sent with scan code 0.
class InputSink {
  public:
    virtual ~InputSink() = default;
    virtual void KeyDown(std::uint8_t virtualKey) = 0;
    virtual void KeyUp(std::uint8_t virtualKey) = 0;
    virtual void ExtendedKeyDown(std::uint8_t virtualKey) = 0;
    virtual void ExtendedKeyUp(std::uint8_t virtualKey) = 0;
    virtual void MouseButton(std::uint32_t flags, std::uint32_t data) = 0;
};

// Monotonic time in microseconds and waits against absolute deadlines. A wait
// never returns before its deadline; BeginPrecise/EndPrecise bracket a stretch
// of time-critical waits (a playing macro).
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t NowUs() = 0;
    virtual void SleepUntilUs(std::int64_t deadlineUs) = 0;
    virtual void BeginPrecise() {}
    virtual void EndPrecise() {}
    void SleepMs(std::int64_t ms) { SleepUntilUs(NowUs() + ms * 1000); }
};

// Timers of Monitor's window (SetTimer/KillTimer on it).
class TimerControl {
  public:
    virtual ~TimerControl() = default;
    virtual void StartTimer(unsigned id, unsigned periodMs) = 0;
    virtual void StopTimer(unsigned id) = 0;
};

// Device key code -> virtual key through the current keyboard layout; 0 when
// the code has no row in the key code table.
class KeyTranslator {
  public:
    virtual ~KeyTranslator() = default;
    virtual std::uint8_t VirtualKey(std::uint8_t keyCode) = 0;
};

// Adapts a plain function (the shared key code table's conversion) to the
// translator seam.
class FunctionKeyTranslator final : public KeyTranslator {
  public:
    using Function = bool (*)(std::uint8_t keyCode, std::uint8_t& virtualKey);
    explicit FunctionKeyTranslator(Function function) : function_(function) {}
    std::uint8_t VirtualKey(std::uint8_t keyCode) override {
        std::uint8_t v = 0;
        if (function_ == nullptr || !function_(keyCode, v))
            return 0;
        return v;
    }

  private:
    Function function_;
};

// Left/right Shift, Ctrl and Alt become the side-less keys before sending.
constexpr std::uint8_t GenericModifier(std::uint8_t v) {
    switch (v) {
        case vk::kLeftShift:
        case vk::kRightShift:
            return vk::kShift;
        case vk::kLeftControl:
        case vk::kRightControl:
            return vk::kControl;
        case vk::kLeftMenu:
        case vk::kRightMenu:
            return vk::kMenu;
        default:
            return v;
    }
}

// Diagnostics for the system debugger.
class DebugOutput {
  public:
    virtual ~DebugOutput() = default;
    virtual void Write(const char* text) = 0;
};

}  // namespace runtime
