// Input synthesis through the real adapters, seen by a low-level hook.
#include <gtest/gtest.h>

#include <cstring>

#include "monitor/runtime/key_combination.h"
#include "monitor/runtime/macro_player.h"
#include "monitor/runtime/win/runtime_input_win.h"
#include "tests/win/monitor/runtime/input_hook.h"

namespace runtime::test {
namespace {

class LetterKeys : public KeyTranslator {
  public:
    std::uint8_t VirtualKey(std::uint8_t code) override {
        if (code >= 4 && code <= 29)
            return static_cast<std::uint8_t>('A' + code - 4);
        if (code == 225)
            return VK_LSHIFT;
        return 0;
    }
};

class NullTimers : public TimerControl {
  public:
    void StartTimer(unsigned, unsigned) override {}
    void StopTimer(unsigned) override {}
};

class SilentDebug : public DebugOutput {
  public:
    void Write(const char*) override {}
};

class InputWinTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(hook.Installed()); }
    InputHook hook;
    InputSinkWin input;
    ClockWin clock;
    LetterKeys keys;
};

bool IsUp(const HookedEvent& e) {
    return (e.flags & LLKHF_UP) != 0;
}

TEST_F(InputWinTest, KeysCarryTheirScanCodeAndUpFlag) {
    input.KeyDown('A');
    input.KeyUp('A');
    const auto ev = hook.WaitFor(2);
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].code, static_cast<DWORD>('A'));
    EXPECT_EQ(ev[0].message, static_cast<WPARAM>(WM_KEYDOWN));
    EXPECT_EQ(ev[0].scanCode, MapVirtualKeyA('A', 0));
    EXPECT_FALSE(IsUp(ev[0]));
    EXPECT_TRUE(IsUp(ev[1]));
    EXPECT_NE(ev[0].flags & LLKHF_INJECTED, 0u);
}

TEST_F(InputWinTest, VolumeKeysAreExtendedWithoutScanCode) {
    input.ExtendedKeyDown(VK_VOLUME_UP);
    input.ExtendedKeyUp(VK_VOLUME_UP);
    const auto ev = hook.WaitFor(2);
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].code, static_cast<DWORD>(VK_VOLUME_UP));
    EXPECT_NE(ev[0].flags & LLKHF_EXTENDED, 0u);
    EXPECT_FALSE(IsUp(ev[0]));
    EXPECT_TRUE(IsUp(ev[1]));
}

TEST_F(InputWinTest, MouseButtonsIncludingExtraButtons) {
    std::uint32_t flags = 0;
    std::uint32_t data = 0;
    MouseButtonEvent(241, true, flags, data);
    input.MouseButton(flags, data);
    MouseButtonEvent(241, false, flags, data);
    input.MouseButton(flags, data);
    MouseButtonEvent(244, true, flags, data);
    input.MouseButton(flags, data);
    MouseButtonEvent(244, false, flags, data);
    input.MouseButton(flags, data);
    const auto ev = hook.WaitFor(4);
    ASSERT_EQ(ev.size(), 4u);
    EXPECT_EQ(ev[0].message, static_cast<WPARAM>(WM_RBUTTONDOWN));
    EXPECT_EQ(ev[1].message, static_cast<WPARAM>(WM_RBUTTONUP));
    EXPECT_EQ(ev[2].message, static_cast<WPARAM>(WM_XBUTTONDOWN));
    EXPECT_EQ(HIWORD(ev[2].code), XBUTTON1);
    EXPECT_EQ(ev[3].message, static_cast<WPARAM>(WM_XBUTTONUP));
}

TEST_F(InputWinTest, KeyCombinationReachesTheSystemInOrder) {
    NullTimers timers;
    KeyCombinationPlayer player(input, clock, keys, timers);
    const Combination combo{4, 0x06};  // Ctrl+Shift+A
    player.Press(combo);
    player.Release(combo);
    const auto ev = hook.WaitFor(6);
    ASSERT_EQ(ev.size(), 6u);
    const DWORD order[6] = {VK_CONTROL, VK_SHIFT, 'A', 'A', VK_SHIFT, VK_CONTROL};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ev[i].code, order[i]) << i;
        EXPECT_EQ(IsUp(ev[i]), i >= 3) << i;
    }
}

TEST_F(InputWinTest, MacroGapsAreNeverShorterThanRequested) {
    SilentDebug debug;
    MacroPlayer player(input, clock, keys, debug);
    settings::ButtonAssignment record;
    std::memset(&record, 0, sizeof record);
    record.actionCode = settings::action::kMacro;
    const std::uint16_t delays[6] = {5, 20, 1, 40, 3, 10};
    for (int i = 0; i < 6; ++i) {
        record.events[i] = {static_cast<std::uint8_t>(4 + i / 2),
                            static_cast<std::uint8_t>(i % 2 == 0 ? 1 : 2), delays[i]};
    }
    record.eventCount = 6;
    ASSERT_EQ(player.StartOrStop(record), MacroStart::Queued);
    player.PlayQueued();
    const auto ev = hook.WaitFor(6);
    ASSERT_EQ(ev.size(), 6u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ev[i].code, static_cast<DWORD>('A' + i / 2));
        // The hook sees each event a little after it was sent; allow that
        // delivery jitter, the exact figures come from the benchmark.
        EXPECT_GE(ev[i + 1].us - ev[i].us, delays[i] * 1000LL - 2000) << i;
    }
}

TEST(ClockWinTest, WaitsNeverEndBeforeTheirDeadline) {
    ClockWin clock;
    clock.BeginPrecise();
    for (int i = 0; i < 40; ++i) {
        const std::int64_t deadline = clock.NowUs() + (i % 7) * 700 + 100;
        clock.SleepUntilUs(deadline);
        EXPECT_GE(clock.NowUs(), deadline) << i;
    }
    clock.EndPrecise();
    const std::int64_t a = clock.NowUs();
    Sleep(20);
    const std::int64_t b = clock.NowUs();
    EXPECT_GE(b - a, 15000);
    // Only a clock in the wrong unit is this far off; a loaded machine may
    // well oversleep by a second or two.
    EXPECT_LT(b - a, 10000000);
}

}  // namespace
}  // namespace runtime::test
