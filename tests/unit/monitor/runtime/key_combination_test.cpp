#include "monitor/runtime/key_combination.h"

#include <gtest/gtest.h>

#include <string>

#include "common/protocol.h"
#include "common/settings/settings_block.h"
#include "tests/unit/monitor/runtime/runtime_fakes.h"

namespace runtime::test {
namespace {

constexpr std::uint8_t kA = 4;  // HID usage of A
constexpr std::uint8_t kLeftShiftCode = 225;

class KeyCombinationTest : public ::testing::Test {
  protected:
    FakeClock clock;
    RecordingInput input{clock};
    TableKeys keys;
    FakeTimers timers{clock};
    KeyCombinationPlayer player{input, clock, keys, timers};

    void RunUntil(std::int64_t ms) {
        timers.RunUntil(ms, [this](unsigned id) {
            if (id == protocol::kTimerKeyRepeat)
                player.OnRepeatTimer();
            if (id == protocol::kTimerVolumeRepeat)
                player.OnVolumeTimer();
        });
    }
};

TEST_F(KeyCombinationTest, HeldCtrlShiftARepeatsAfterOneSecondThenEvery100Ms) {
    const Combination combo{kA, settings::modifier::kCtrl | settings::modifier::kShift};
    player.Press(combo);
    // Modifiers first in fixed order, 1 ms apart, then the key.
    ASSERT_EQ(input.Keys(), "down:17 down:16 down:65");
    EXPECT_EQ(input.events[1].us - input.events[0].us, 1000);
    EXPECT_EQ(input.events[2].us - input.events[1].us, 1000);
    input.events.clear();

    RunUntil(2500);
    // First repeat 1 s after the press, then every 100 ms: 1002, 1102 .. 2402.
    ASSERT_EQ(input.events.size(), 30u);
    EXPECT_EQ(input.events[0].us, 1002000);
    for (std::size_t i = 0; i < input.events.size(); i += 2) {
        EXPECT_EQ(input.events[i].kind, InputEvent::Up) << i;
        EXPECT_EQ(input.events[i + 1].kind, InputEvent::Down) << i;
        EXPECT_EQ(input.events[i].code, 65u);
        if (i >= 2) {
            EXPECT_EQ(input.events[i].us - input.events[i - 2].us, 100000) << i;
        }
    }
    input.events.clear();

    player.Release(combo);
    EXPECT_EQ(input.Keys(), "up:65 up:16 up:17");
    EXPECT_FALSE(timers.Active(protocol::kTimerKeyRepeat));
    RunUntil(4000);
    EXPECT_EQ(input.events.size(), 3u);
}

// A combination pressed, held, and released: the keys that went out.
struct PressCase {
    const char* name;
    Combination combo;
    std::int64_t holdMs;
    const char* keys;
};

class KeyCombinationCases : public KeyCombinationTest,
                            public ::testing::WithParamInterface<PressCase> {};

TEST_P(KeyCombinationCases, PressHoldAndRelease) {
    const PressCase& c = GetParam();
    player.Press(c.combo);
    if (c.holdMs > 0)
        RunUntil(c.holdMs);
    player.Release(c.combo);
    EXPECT_EQ(input.Keys(), c.keys);
}

INSTANTIATE_TEST_SUITE_P(
    KeyCombinationTest, KeyCombinationCases,
    ::testing::Values(
        // A modifier as the main key is never repeated; Left Shift goes out
        // as the side-less Shift.
        PressCase{"ModifierMainKeyIsNeverRepeated",
                  {kLeftShiftCode, settings::modifier::kPlainKey},
                  3000,
                  "down:16 up:16"},
        PressCase{"WindowsKeyIsNotRepeatedEither",
                  {227, settings::modifier::kPlainKey},
                  1500,
                  "down:91 up:91"},
        PressCase{"PlainKeyBitSuppressesEveryModifier", {kA, 0x1F}, 0, "down:65 up:65"},
        PressCase{"AllFourModifiersGoDownInOrderAndUpInReverse",
                  {kA, 0x1E},
                  0,
                  "down:17 down:16 down:18 down:91 down:65 up:65 up:91 up:18 up:16 up:17"},
        PressCase{"KeyWithoutTableRowSendsOnlyTheModifiers",
                  {0x32, settings::modifier::kCtrl},
                  1500,
                  "down:17 up:17"}),
    [](const ::testing::TestParamInfo<PressCase>& param) { return std::string(param.param.name); });

TEST_F(KeyCombinationTest, VolumeHeldForOneSecondGivesOnePlusThreeSteps) {
    player.VolumePress(kMediaVolumeUp);
    RunUntil(1000);
    player.VolumeRelease(kMediaVolumeUp);
    RunUntil(2000);
    ASSERT_EQ(input.events.size(), 8u);
    for (std::size_t i = 0; i < 8; i += 2) {
        EXPECT_EQ(input.events[i], (InputEvent{InputEvent::ExtDown, 0xAF, 0, 0}));
        EXPECT_EQ(input.events[i + 1], (InputEvent{InputEvent::ExtUp, 0xAF, 0, 0}));
    }
    EXPECT_EQ(input.events[6].us, 900000);
}

TEST_F(KeyCombinationTest, VolumeDownAndMuteUseTheirKeys) {
    player.VolumePress(kMediaVolumeDown);
    RunUntil(300);
    player.VolumeRelease(kMediaVolumeDown);
    player.VolumePress(kMediaMute);
    EXPECT_EQ(input.Keys(), "extdown:174 extup:174 extdown:174 extup:174 extdown:173 extup:173");
    // Mute starts no repeat.
    EXPECT_FALSE(timers.Active(protocol::kTimerVolumeRepeat));
}

TEST_F(KeyCombinationTest, ReleaseHeldLetsGoOfACombinationWhoseReleaseNeverCame) {
    player.Press({kA, settings::modifier::kCtrl});
    player.VolumePress(kMediaVolumeUp);
    RunUntil(1200);
    input.events.clear();
    player.ReleaseHeld();
    EXPECT_EQ(input.Keys(), "up:65 up:17");
    EXPECT_FALSE(timers.Active(protocol::kTimerKeyRepeat));
    EXPECT_FALSE(timers.Active(protocol::kTimerVolumeRepeat));
    EXPECT_FALSE(player.Holding());
    RunUntil(5000);
    // Nothing repeats any more, and a second call releases nothing twice.
    player.ReleaseHeld();
    EXPECT_EQ(input.events.size(), 2u);
}

TEST_F(KeyCombinationTest, SecondCombinationReplacesTheHeldOne) {
    player.Press({kA, settings::modifier::kPlainKey});
    player.Press({kA + 1, settings::modifier::kPlainKey});
    input.events.clear();
    RunUntil(1050);
    // Only B repeats, once at 1000 ms.
    EXPECT_EQ(input.Keys(), "up:66 down:66");
}

// The repeats are timed work: one precise stretch (raised priority) from the
// first press to the release, however the presses and releases come.
TEST_F(KeyCombinationTest, HeldCombinationIsOnePreciseStretchFromPressToRelease) {
    player.Release({kA, 0});
    EXPECT_EQ(clock.precise(), 0) << "a release without a press ends nothing";
    player.Press({kA, settings::modifier::kPlainKey});
    player.Press({kA + 1, settings::modifier::kPlainKey});
    EXPECT_EQ(clock.precise(), 1);
    player.Release({kA + 1, settings::modifier::kPlainKey});
    EXPECT_EQ(clock.precise(), 0);
    player.Press({kA, settings::modifier::kCtrl});
    player.ReleaseHeld();
    player.ReleaseHeld();
    EXPECT_EQ(clock.precise(), 0);
}

}  // namespace
}  // namespace runtime::test
