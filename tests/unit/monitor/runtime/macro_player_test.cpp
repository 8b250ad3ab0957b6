#include "monitor/runtime/macro_player.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/macro_records.h"
#include "tests/unit/monitor/runtime/runtime_fakes.h"

namespace runtime::test {
namespace {

constexpr std::uint8_t kA = 4;
constexpr std::uint8_t kB = 5;
constexpr std::uint8_t kC = 6;

settings::ButtonAssignment Macro(std::initializer_list<settings::MacroEvent> events,
                                 int repeat = 1) {
    settings::ButtonAssignment r;
    std::memset(&r, 0, sizeof r);
    testsupport::SetMacro(r, events, repeat);
    return r;
}

settings::MacroEvent Press(std::uint8_t code, std::uint16_t delay) {
    return {code, 1, delay};
}
settings::MacroEvent Release(std::uint8_t code, std::uint16_t delay) {
    return {code, 2, delay};
}

class MacroPlayerTest : public ::testing::Test {
  protected:
    FakeClock clock;
    RecordingInput input{clock};
    TableKeys keys;
    RecordingDebug debug;
    MacroPlayer player{input, clock, keys, debug};

    void Run(const settings::ButtonAssignment& record) {
        ASSERT_EQ(player.StartOrStop(record), MacroStart::Queued);
        player.PlayQueued();
    }
    int Count(InputEvent::Kind kind, std::uint32_t code) const {
        int n = 0;
        for (const auto& e : input.events) n += (e.kind == kind && e.code == code);
        return n;
    }
};

// Also with the clock 0.7 s short of the 49.7 days after which a 32-bit
// millisecond count wraps: the hold runs across that moment unchanged.
TEST_F(MacroPlayerTest, LongPressImitatesAutoRepeatAfterHalfASecond) {
    constexpr std::int64_t kTickWrapUs = (std::int64_t{1} << 32) * 1000;
    for (const std::int64_t start : {std::int64_t{0}, kTickWrapUs - 700'000}) {
        FakeClock at;
        at.Set(start);
        RecordingInput recorded{at};
        MacroPlayer macro{recorded, at, keys, debug};
        ASSERT_EQ(macro.StartOrStop(Macro({Press(kA, 1500), Release(kA, 10)})), MacroStart::Queued);
        macro.PlayQueued();
        const auto& ev = recorded.events;
        // down, 30 up/down pairs, final up.
        ASSERT_EQ(ev.size(), 62u);
        EXPECT_EQ(ev[0].kind, InputEvent::Down);
        EXPECT_EQ(ev[0].us, start);
        for (int i = 0; i < 30; ++i) {
            const auto& up = ev[1 + 2 * i];
            const auto& down = ev[2 + 2 * i];
            EXPECT_EQ(up.kind, InputEvent::Up);
            EXPECT_EQ(down.kind, InputEvent::Down);
            EXPECT_EQ(up.us - start, (500 + 33 * i) * 1000LL) << "pair " << i;
        }
        // The last pair came for remaining time 43 ms; the release follows once
        // the whole 1500 ms have passed.
        EXPECT_EQ(ev[61].kind, InputEvent::Up);
        EXPECT_EQ(ev[61].us - start, 1500000);
        EXPECT_EQ(at.NowUs(), ev[61].us + 10000);
    }
}

TEST_F(MacroPlayerTest, PressOfExactlyHalfASecondIsNotRepeated) {
    Run(Macro({Press(kA, 500), Release(kA, 1)}));
    EXPECT_EQ(input.Keys(), "down:65 up:65");
    EXPECT_EQ(input.events[1].us, 500000);
}

TEST_F(MacroPlayerTest, ZeroDelayIsPlayedAsOneMillisecond) {
    Run(Macro({Press(kA, 0), Release(kA, 0), Press(kB, 0)}));
    ASSERT_EQ(input.events.size(), 3u);
    EXPECT_EQ(input.events[1].us - input.events[0].us, 1000);
    EXPECT_EQ(input.events[2].us - input.events[1].us, 1000);
    EXPECT_EQ(clock.NowUs(), 3000);
}

TEST_F(MacroPlayerTest, RepeatCountsBelowOnePlayOnceAndThreePlaysThrice) {
    for (int repeat : {0, -1, 3}) {
        input.events.clear();
        Run(Macro({Press(kA, 5), Release(kA, 5)}, repeat));
        const int expected = repeat == 3 ? 3 : 1;
        EXPECT_EQ(Count(InputEvent::Down, 'A'), expected) << repeat;
        EXPECT_EQ(Count(InputEvent::Up, 'A'), expected) << repeat;
    }
}

TEST_F(MacroPlayerTest, StoppedMacroReleasesHeldKeysMostRecentFirst) {
    const auto record = Macro({Press(kA, 100), Press(kB, 100), Press(kC, 500), Release(kC, 10),
                               Release(kB, 10), Release(kA, 10)});
    clock.At(250, [&] { EXPECT_EQ(player.StartOrStop(record), MacroStart::StopRequested); });
    Run(record);
    EXPECT_EQ(input.Keys(), "down:65 down:66 down:67 up:67 up:66 up:65");
    // The releases follow C's delay, 50 ms apart.
    EXPECT_EQ(input.events[3].us, 700000);
    EXPECT_EQ(input.events[4].us - input.events[3].us, 50000);
    EXPECT_EQ(input.events[5].us - input.events[4].us, 50000);
    ASSERT_EQ(debug.lines.size(), 1u);
    EXPECT_EQ(debug.lines[0], "g_iCurAction= 3,start=0,end=6\n");
    EXPECT_FALSE(player.Running());
    EXPECT_FALSE(player.Busy());
}

TEST_F(MacroPlayerTest, StopBetweenRepetitionsReleasesKeysHeldFromEarlierOnes) {
    // Nothing is released inside the macro, so every press stays held.
    const auto record = Macro({Press(kA, 10), Press(kB, 10)}, 3);
    clock.At(35, [&] { player.RequestStop(); });
    Run(record);
    // Two repetitions played; all four presses are let go, not only the last.
    EXPECT_EQ(input.Keys(), "down:65 down:66 down:65 down:66 up:66 up:65 up:66 up:65");
}

TEST_F(MacroPlayerTest, MacroEndingNormallyLeavesItsPressesHeld) {
    Run(Macro({Press(kA, 10), Press(kB, 10)}, 2));
    EXPECT_EQ(input.Keys(), "down:65 down:66 down:65 down:66");
}

TEST_F(MacroPlayerTest, LongHoldStopsEarlyOnRequest) {
    const auto record = Macro({Press(kA, 3000), Release(kA, 1)});
    clock.At(600, [&] { player.RequestStop(); });
    Run(record);
    // Pairs at 500, 533, 566, 599, then one more pair sees the request: 632.
    // The key is released by the stop, not by the macro's own event.
    EXPECT_EQ(Count(InputEvent::Down, 'A'), 6);
    EXPECT_EQ(Count(InputEvent::Up, 'A'), 6);
    EXPECT_EQ(input.events.back().kind, InputEvent::Up);
}

// Sleep, a locked screen or the session's end: the keys go up at once, not
// after the delay under way, and nothing follows them.
TEST_F(MacroPlayerTest, AbandonedMacroLetsGoOfItsKeysWithinItsCheckTime) {
    const auto record = Macro({Press(kA, 100), Press(241, 100), Press(kB, 400), Release(kB, 20000),
                               Release(241, 10), Release(kA, 10)});
    clock.At(1000, [&] { player.Abandon(); });
    Run(record);
    EXPECT_EQ(input.Keys(), "down:65 mouse:8 down:66 up:66 mouse:16 up:65");
    for (std::size_t i = 3; i < input.events.size(); ++i)
        EXPECT_LE(input.events[i].us, (1000 + kAbandonCheckMs) * 1000LL)
            << Describe(input.events[i]);
    // A later start plays as usual again.
    input.events.clear();
    Run(Macro({Press(kA, 100), Release(kA, 100)}));
    EXPECT_EQ(input.Keys(), "down:65 up:65");
    EXPECT_EQ(input.events[1].us - input.events[0].us, 100000);
}

TEST_F(MacroPlayerTest, MouseButtonsUseTheirFlagsAndExtraButtonData) {
    Run(Macro({Press(240, 1), Release(240, 1), Press(241, 1), Release(241, 1), Press(242, 1),
               Release(242, 1), Press(243, 1), Release(243, 1), Press(244, 1), Release(244, 1)}));
    const std::vector<InputEvent> expected = {
        {InputEvent::Mouse, 0x02, 0, 0}, {InputEvent::Mouse, 0x04, 0, 0},
        {InputEvent::Mouse, 0x08, 0, 0}, {InputEvent::Mouse, 0x10, 0, 0},
        {InputEvent::Mouse, 0x20, 0, 0}, {InputEvent::Mouse, 0x40, 0, 0},
        {InputEvent::Mouse, 0x80, 2, 0}, {InputEvent::Mouse, 0x100, 2, 0},
        {InputEvent::Mouse, 0x80, 1, 0}, {InputEvent::Mouse, 0x100, 1, 0}};
    EXPECT_EQ(input.events, expected);
}

TEST_F(MacroPlayerTest, StoppedMacroReleasesAHeldMouseButtonWithItsUpEvent) {
    const auto record = Macro({Press(241, 200), Release(241, 1)});
    clock.At(100, [&] { player.RequestStop(); });
    Run(record);
    EXPECT_EQ(input.events.back(), (InputEvent{InputEvent::Mouse, 0x10, 0, 0}));
}

TEST_F(MacroPlayerTest, GenericModifiersAndUntranslatableKeysAreStillSent) {
    Run(Macro({Press(229, 1), Release(229, 1), Press(0x32, 1), Release(0x32, 1)}));
    EXPECT_EQ(input.Keys(), "down:16 up:16 down:0 up:0");
}

TEST_F(MacroPlayerTest, EventCountAboveFortyIsCutToForty) {
    auto record = Macro({});
    for (int i = 0; i < settings::kMaxMacroEvents; ++i) record.events[i] = Press(kA, 1);
    record.eventCount = 50;
    Run(record);
    EXPECT_EQ(input.events.size(), 40u);
    EXPECT_EQ(debug.lines.back(), "g_iCurAction= 39,start=0,end=40\n");
}

TEST_F(MacroPlayerTest, StartRulesForEmptyBusyAndQueuedMacros) {
    EXPECT_EQ(player.StartOrStop(Macro({})), MacroStart::Ignored);
    EXPECT_FALSE(player.Busy());

    const auto first = Macro({Press(kA, 1)});
    const auto second = Macro({Press(kB, 1)});
    EXPECT_EQ(player.StartOrStop(first), MacroStart::Queued);
    // A second press before the playback began stops it; the buffer keeps the
    // first macro, and the queued run plays nothing.
    EXPECT_EQ(player.StartOrStop(second), MacroStart::StopRequested);
    player.PlayQueued();
    EXPECT_TRUE(input.events.empty());
    // The next press starts afresh.
    Run(second);
    EXPECT_EQ(input.Keys(), "down:66");
}

TEST_F(MacroPlayerTest, CancelledQueueAllowsTheNextStart) {
    EXPECT_EQ(player.StartOrStop(Macro({Press(kA, 1)})), MacroStart::Queued);
    player.CancelQueued();
    EXPECT_EQ(player.StartOrStop(Macro({Press(kB, 1)})), MacroStart::Queued);
}

TEST_F(MacroPlayerTest, PlaybackRaisesTimerPrecisionOnlyWhilePlaying) {
    int during = 0;
    clock.At(1, [&] { during = clock.precise(); });
    Run(Macro({Press(kA, 5)}));
    EXPECT_EQ(during, 1);
    EXPECT_EQ(clock.precise(), 0);
}

}  // namespace
}  // namespace runtime::test
