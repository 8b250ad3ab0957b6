#include "monitor/device/upload_sequence.h"
#include "monitor/device/upload_worker.h"
#include "tests/support/macro_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace device {
namespace {

struct Transfer {
    std::int64_t atMs;
    bool feature;
    std::vector<std::uint8_t> bytes;
};

// Virtual time in microseconds. Sleeps advance it by `sleepFactor` of what was
// asked, so a pacer that wakes early or late can be imitated. The abort flag
// can be set at a chosen time.
class FakePacer : public Pacer {
  public:
    explicit FakePacer(std::atomic<std::int32_t>& abort) : abort_(abort) {}
    std::int64_t NowMicros() override { return now; }
    void SleepMicros(std::int64_t micros) override {
        EXPECT_GT(micros, 0);
        EXPECT_LE(micros, 100'000) << "waits go in slices of at most 100 ms";
        sleeps.push_back(micros);
        now += std::max<std::int64_t>(1, micros * sleepPercent / 100 + sleepExtra);
        if (abortAtUs >= 0 && now >= abortAtUs)
            abort_.store(1);
        if (onSleep)
            onSleep(now);
    }
    // Stands in for the window thread acting while a job runs.
    std::function<void(std::int64_t nowUs)> onSleep;
    std::int64_t now = 0;
    std::int64_t sleepPercent = 100;
    std::int64_t sleepExtra = 0;
    std::int64_t abortAtUs = -1;
    std::vector<std::int64_t> sleeps;

  private:
    std::atomic<std::int32_t>& abort_;
};

class RecordingTransport : public Transport {
  public:
    explicit RecordingTransport(FakePacer& pacer) : pacer_(pacer) {}
    void SendCommand(const CommandReport& r) override {
        log.push_back({pacer_.now / 1000, true, {r.begin(), r.end()}});
        pacer_.now += costUs;
    }
    int WriteChunk(const DataChunk& c) override {
        log.push_back({pacer_.now / 1000, false, {c.begin(), c.end()}});
        pacer_.now += costUs;
        return ++writes;
    }
    std::vector<Transfer> log;
    int writes = 0;
    std::int64_t costUs = 0;  // time each transfer takes

  private:
    FakePacer& pacer_;
};

// One line per transfer: "F 02 01 00" (code and two arguments) for a command,
// "D" for a chunk, with its time in ms.
std::string Describe(const Transfer& t) {
    char text[64];
    if (t.feature)
        std::snprintf(text, sizeof text, "%lld F %02X %02X %02X", static_cast<long long>(t.atMs),
                      t.bytes[0], t.bytes[1], t.bytes[2]);
    else
        std::snprintf(text, sizeof text, "%lld D", static_cast<long long>(t.atMs));
    return text;
}

class UploadSequenceTest : public ::testing::Test {
  protected:
    UploadSequenceTest() : pacer(abort), transport(pacer), sequence(transport, pacer, abort) {
        block = std::make_unique<settings::SettingsBlock>();
        std::memset(block.get(), 0, sizeof(settings::SettingsBlock));
        settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
        settings::ClearChanges(*block);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (const auto& t : transport.log) out.push_back(Describe(t));
        return out;
    }
    std::vector<std::string> CommandsOnly() const {
        std::vector<std::string> out;
        for (const auto& t : transport.log) {
            if (!t.feature)
                continue;
            std::string s = Describe(t);
            out.push_back(s.substr(s.find('F')));
        }
        return out;
    }

    std::atomic<std::int32_t> abort{0};
    FakePacer pacer;
    RecordingTransport transport;
    UploadSequence sequence;
    std::unique_ptr<settings::SettingsBlock> block;
};

// The full upload of a fresh block, every transfer at its time, worked out
// from the order and pauses by hand: 6700 ms in all.
TEST_F(UploadSequenceTest, FullUploadOrderAndTiming) {
    block->currentProfile = 3;
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::Full, *block));
    // clang-format off
    const std::vector<std::string> expected = {
        "0 F 01 88 00", "200 F 01 88 00", "400 F 01 88 00", "600 F 01 88 00", "800 F 01 88 00",
        "1000 F 02 04 00",
        "1200 F 03 01 02", "1400 F 03 02 02", "1600 F 03 03 02", "1800 F 03 04 02", "2000 F 03 05 02",
        "2200 F 04 01 01", "2400 F 04 02 01", "2600 F 04 03 01", "2800 F 04 04 01", "3000 F 04 05 01",
        "3200 F 0C 01 80", "3200 D", "3300 D",
        "3600 F 0C 02 80", "3600 D", "3700 D",
        "4000 F 0C 03 80", "4000 D", "4100 D",
        "4400 F 0C 04 80", "4400 D", "4500 D",
        "4800 F 0C 05 80", "4800 D", "4900 D",
        "5200 F 0D 01 80", "5200 D", "5300 D",
        "5500 F 0D 02 80", "5500 D", "5600 D",
        "5800 F 0D 03 80", "5800 D", "5900 D",
        "6100 F 0D 04 80", "6100 D", "6200 D",
        "6400 F 0D 05 80", "6400 D", "6500 D",
    };
    // clang-format on
    EXPECT_EQ(Lines(), expected);
    EXPECT_EQ(pacer.now, 6'700'000);
    // Every command report carries its checksum.
    for (const auto& t : transport.log) {
        if (!t.feature)
            continue;
        EXPECT_TRUE(ChecksumValid({t.bytes[0], t.bytes[1], t.bytes[2], t.bytes[3], t.bytes[4],
                                   t.bytes[5], t.bytes[6], t.bytes[7]}));
    }
    // The block's result is that of its second chunk.
    EXPECT_EQ(sequence.LastBlockResult(), transport.writes);
}

// The pauses are kept when the clock passes the moment a 32-bit millisecond
// count wraps (49.7 days of uptime) in the middle of the upload.
TEST_F(UploadSequenceTest, FullUploadAcrossTheTickCountWrapKeepsItsTiming) {
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::Full, *block));
    const std::vector<std::string> fromZero = Lines();
    constexpr std::int64_t kTickWrapMs = std::int64_t{1} << 32;
    const std::int64_t startMs = kTickWrapMs - 3000;
    transport.log.clear();
    pacer.now = startMs * 1000;
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::Full, *block));
    for (auto& t : transport.log) t.atMs -= startMs;
    EXPECT_EQ(Lines(), fromZero);
    EXPECT_EQ(pacer.now, (startMs + 6700) * 1000);
}

TEST_F(UploadSequenceTest, ChangesOnlyJobSendsSettingsButNoButtons) {
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::ChangedOnly, *block));
    const auto cmds = CommandsOnly();
    ASSERT_EQ(cmds.size(), 20u);
    EXPECT_EQ(cmds[5], "F 03 01 02");
    EXPECT_EQ(cmds[19], "F 0C 05 80");
    EXPECT_EQ(pacer.now, 5'000'000);
}

// A damaged block from the shared section: the stage is the step's low byte
// plus one, whatever the step holds.
TEST_F(UploadSequenceTest, ActiveStageOfDamagedStepsWraps) {
    block->profiles[0].CpiStep = INT32_MAX;
    block->profiles[1].CpiStep = -1;
    block->profiles[2].CpiStep = 255;
    block->profiles[3].CpiStep = INT32_MIN;
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::ChangedOnly, *block));
    const auto cmds = CommandsOnly();
    ASSERT_EQ(cmds.size(), 20u);
    EXPECT_EQ(cmds[10], "F 04 01 00");
    EXPECT_EQ(cmds[11], "F 04 02 00");
    EXPECT_EQ(cmds[12], "F 04 03 00");
    EXPECT_EQ(cmds[13], "F 04 04 01");
    EXPECT_EQ(cmds[14], "F 04 05 01");
}

TEST_F(UploadSequenceTest, SelectionFlagAddsTheProfileSelection) {
    block->currentProfile = 4;
    settings::SetChangeFlag(*block, settings::kButtonFlagCount + settings::kSelectProfileFlag, 1);
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::ChangedOnly, *block));
    const auto cmds = CommandsOnly();
    EXPECT_EQ(cmds[5], "F 02 05 00");
    EXPECT_EQ(cmds.size(), 21u);
}

TEST_F(UploadSequenceTest, ChangedButtonGroupUploadsThatProfileWithItsMacros) {
    testsupport::SetMacro(block->profiles[2].MacroKeyInfo[5], {{0x1E, 1, 50}, {0x1E, 2, 0}});
    block->profiles[2].MacroKeyInfo[7].actionCode = 52;  // Ctrl+V
    block->profiles[1].MacroKeyInfo[0].actionCode = 16;  // unchanged profile: not sent
    block->profiles[1].MacroKeyInfo[0].eventCount = 1;
    settings::MarkButtonChanged(*block, 2, 5);
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::ChangedOnly, *block));
    const auto cmds = CommandsOnly();
    ASSERT_EQ(cmds.size(), 23u);
    EXPECT_EQ(cmds[20], "F 0D 03 80");
    EXPECT_EQ(cmds[21], "F 0F 26 80");  // slot 2 * 16 + 5 + 1 = 38
    EXPECT_EQ(cmds[22], "F 0F 28 80");  // slot 40
    // The macro block follows its command: 00 01, then 50 ms press of '1'.
    const Transfer& chunk = transport.log[transport.log.size() - 5];
    ASSERT_FALSE(chunk.feature);
    EXPECT_EQ((std::vector<int>(chunk.bytes.begin(), chunk.bytes.begin() + 6)),
              (std::vector<int>{0x00, 0x01, 0x05, 0x1E, 0x81, 0x1E}));
    // Key map 100 ms pause, then macro blocks of 200 ms each.
    EXPECT_EQ(Lines()[Lines().size() - 6], "5300 F 0F 26 80");
    EXPECT_EQ(pacer.now, 5'000'000 + 300'000 + 200'000 + 200'000);
}

TEST_F(UploadSequenceTest, FirstSettingFlagAlsoMarksProfileFourButtons) {
    settings::SetChangeFlag(*block, settings::kButtonFlagCount, 1);
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::ChangedOnly, *block));
    const auto cmds = CommandsOnly();
    ASSERT_EQ(cmds.size(), 21u);
    EXPECT_EQ(cmds[20], "F 0D 05 80");
}

TEST_F(UploadSequenceTest, FullUploadWithoutValidProfileSkipsOnlyTheSelection) {
    block->currentProfile = -1;
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::Full, *block));
    for (const auto& c : CommandsOnly()) EXPECT_NE(c.substr(0, 4), "F 02");
    EXPECT_EQ(CommandsOnly().size(), 25u);
}

TEST_F(UploadSequenceTest, AbortDuringParameterBlocksStopsAtTheNextWait) {
    pacer.abortAtUs = 3'650'000;  // during the second parameter block's first pause
    EXPECT_FALSE(sequence.Run(protocol::UploadJob::Full, *block));
    ASSERT_FALSE(transport.log.empty());
    EXPECT_EQ(Describe(transport.log.back()), "3600 D");
    // Noticed within one 100 ms slice.
    EXPECT_LE(pacer.now, 3'650'000 + 100'000);
}

TEST_F(UploadSequenceTest, AbortIsSeenBetweenSlicesNotAfterTheWholeWait) {
    pacer.abortAtUs = 50'000;
    EXPECT_FALSE(sequence.Run(protocol::UploadJob::Full, *block));
    EXPECT_EQ(transport.log.size(), 1u);
    EXPECT_EQ(pacer.now, 100'000);
}

TEST_F(UploadSequenceTest, WaitsAreKeptAgainstDeadlinesWhenSleepsWakeEarly) {
    pacer.sleepPercent = 40;  // every sleep returns far too soon
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::Full, *block));
    EXPECT_GE(pacer.now, 6'700'000);
    const auto& log = transport.log;
    for (std::size_t i = 1; i < log.size(); ++i) {
        const std::int64_t gap = log[i].atMs - log[i - 1].atMs;
        if (log[i - 1].feature && !log[i].feature)
            continue;  // command and its first chunk
        EXPECT_GE(gap, 100) << Describe(log[i - 1]) << " -> " << Describe(log[i]);
    }
}

TEST_F(UploadSequenceTest, LateWakeUpsDoNotAccumulateWithinAWait) {
    pacer.sleepExtra = 3'000;  // each sleep 3 ms late
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::Full, *block));
    // 46 waits: each ends at most one late wake-up past its deadline (a wait
    // of two 100 ms slices must not end 6 ms late).
    EXPECT_LE(pacer.now, 6'700'000 + 46 * 3'000);
    EXPECT_GE(pacer.now, 6'700'000);
}

// A pause runs from the end of the transfer before it, never from its start:
// a slow transfer must not eat into the mouse's pause.
TEST_F(UploadSequenceTest, PausesRunFromTheEndOfEachTransfer) {
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::Full, *block));
    const std::vector<Transfer> ideal = transport.log;
    transport.log.clear();
    pacer.now = 0;
    transport.costUs = 7'000;
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::Full, *block));
    ASSERT_EQ(transport.log.size(), ideal.size());
    for (std::size_t i = 1; i < ideal.size(); ++i) {
        const std::int64_t want = ideal[i].atMs - ideal[i - 1].atMs;
        const std::int64_t got = transport.log[i].atMs - transport.log[i - 1].atMs;
        EXPECT_EQ(got, want + 7) << Describe(transport.log[i]);
    }
}

TEST_F(UploadSequenceTest, SelectProfileJobSendsSelectionThenNotifies) {
    block->currentProfile = 2;
    int notified = -1;
    std::int64_t notifiedAt = -1;
    UploadHooks hooks;
    hooks.afterProfileSelected = [&](int p) {
        notified = p;
        notifiedAt = pacer.now;
    };
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::SelectProfile, *block, hooks));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"0 F 02 03 00"}));
    EXPECT_EQ(notified, 2);
    EXPECT_EQ(notifiedAt, 200'000);
}

TEST_F(UploadSequenceTest, SelectProfileJobAbortedOrWithoutProfileNotifiesNothing) {
    bool notified = false;
    UploadHooks hooks;
    hooks.afterProfileSelected = [&](int) { notified = true; };
    pacer.abortAtUs = 150'000;
    EXPECT_FALSE(sequence.Run(protocol::UploadJob::SelectProfile, *block, hooks));
    EXPECT_FALSE(notified);
    EXPECT_EQ(transport.log.size(), 1u);

    abort.store(0);
    pacer.abortAtUs = -1;
    transport.log.clear();
    block->currentProfile = -1;
    EXPECT_TRUE(sequence.Run(protocol::UploadJob::SelectProfile, *block, hooks));
    EXPECT_TRUE(transport.log.empty());
    EXPECT_FALSE(notified);
}

TEST_F(UploadSequenceTest, StagingIsRebuiltForEveryJob) {
    block->profiles[0].MacroKeyInfo[1].actionCode = 48;
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::Full, *block));
    EXPECT_TRUE(sequence.Staging().IsStaged(2));
    block->profiles[0].MacroKeyInfo[1].actionCode = 1;
    transport.log.clear();
    ASSERT_TRUE(sequence.Run(protocol::UploadJob::Full, *block));
    EXPECT_FALSE(sequence.Staging().IsStaged(2));
    for (const auto& c : CommandsOnly()) EXPECT_NE(c.substr(0, 4), "F 0F");
}

// ------------------------------------------------------------ upload worker

// The window as an upload job sees it; every call is logged with its time.
class FakeJobHost : public UploadJobHost {
  public:
    explicit FakeJobHost(FakePacer& pacer) : pacer_(pacer) {
        settings::FillDefaults(block, settings::DefaultsFor::Monitor);
        settings::ClearChanges(block);
    }
    bool Connected() override { return connected; }
    void CopyBlock(settings::SettingsBlock& into) override {
        into = block;
        Log("copy");
    }
    void ApplyAnswered() override { Log("answer"); }
    void ProfileSelected(int profileIndex) override {
        Log("selected " + std::to_string(profileIndex));
    }
    void Log(const std::string& what) {
        log.push_back(std::to_string(pacer_.now / 1000) + " " + what);
    }

    settings::SettingsBlock block;
    bool connected = true;
    std::vector<std::string> log;

  private:
    FakePacer& pacer_;
};

class UploadWorkerTest : public ::testing::Test {
  protected:
    std::atomic<std::int32_t> unused{0};  // the worker keeps its own abort flag
    FakePacer pacer{unused};
    RecordingTransport transport{pacer};
    FakeJobHost host{pacer};
    UploadWorker worker{host};
};

TEST_F(UploadWorkerTest, ShutDownStopsTheRunningJobAndDropsEveryQueuedOne) {
    // Exit chosen 1 s into the start-up upload, with an Apply, a profile
    // switch and another full upload still queued behind it.
    pacer.onSleep = [&](std::int64_t now) {
        if (now >= 1'000'000 && !worker.ShuttingDown())
            worker.BeginShutDown();
    };
    worker.RunJob(protocol::UploadJob::Full, transport, pacer);
    const std::int64_t stoppedAt = pacer.now;
    EXPECT_LE(stoppedAt, 1'100'000) << "the running job stops within one wait slice";
    worker.RunJob(protocol::UploadJob::ChangedOnly, transport, pacer);
    worker.RunJob(protocol::UploadJob::SelectProfile, transport, pacer);
    worker.RunJob(protocol::UploadJob::Full, transport, pacer);
    EXPECT_EQ(transport.log.size(), 5u)
        << "only the five begin commands before the exit; last " << Describe(transport.log.back());
    EXPECT_EQ(pacer.now, stoppedAt) << "dropped jobs wait for nothing";
    EXPECT_FALSE(worker.Busy());
    // The Apply is still answered (Option may outlive Monitor); nothing else
    // of the dropped jobs happens.
    const std::vector<std::string> expected = {"0 copy", "1000 answer"};
    EXPECT_EQ(host.log, expected);
}

TEST_F(UploadWorkerTest, RemovalStopsOnlyTheRunningJobAndAnApplyIsAnsweredOnce) {
    pacer.onSleep = [&](std::int64_t now) {
        if (now == 600'000) {
            host.connected = false;
            worker.AbortRunningJob();
        }
    };
    worker.RunJob(protocol::UploadJob::ChangedOnly, transport, pacer);
    EXPECT_EQ(transport.log.size(), 3u) << "three begin commands, then the removal";
    // Queued while the mouse is away: dropped, the Apply answered all the same.
    worker.RunJob(protocol::UploadJob::ChangedOnly, transport, pacer);
    worker.RunJob(protocol::UploadJob::Full, transport, pacer);
    EXPECT_EQ(transport.log.size(), 3u);
    EXPECT_EQ(host.log, (std::vector<std::string>{"0 copy", "600 answer", "600 answer"}));

    // After the next arrival the abort of the old job is forgotten.
    pacer.onSleep = nullptr;
    host.connected = true;
    worker.RunJob(protocol::UploadJob::Full, transport, pacer);
    EXPECT_EQ(transport.log.size(), 3u + 46u);
}

TEST_F(UploadWorkerTest, ProfileSelectionIsReportedAfterTheMouseHadItsPause) {
    host.block.currentProfile = 2;
    worker.RunJob(protocol::UploadJob::SelectProfile, transport, pacer);
    ASSERT_EQ(transport.log.size(), 1u);
    EXPECT_EQ(Describe(transport.log[0]), "0 F 02 03 00");
    EXPECT_EQ(host.log, (std::vector<std::string>{"0 copy", "200 selected 2"}));
}

// A burst of profile switches with an Apply among them, queued while the
// upload thread was busy: the mouse gets one selection (the last profile) and
// the Apply its one answer after its own upload.
TEST_F(UploadWorkerTest, LaterSelectionReplacesQueuedSelectionsButNotAnApply) {
    EXPECT_TRUE(worker.Enqueue(protocol::UploadJob::SelectProfile)) << "idle thread is woken";
    for (int i = 0; i < 500; ++i) EXPECT_FALSE(worker.Enqueue(protocol::UploadJob::SelectProfile));
    EXPECT_FALSE(worker.Enqueue(protocol::UploadJob::ChangedOnly));
    for (int i = 0; i < 500; ++i) worker.Enqueue(protocol::UploadJob::SelectProfile);
    EXPECT_EQ(worker.Queued(), 2u);

    host.block.currentProfile = 4;
    worker.RunQueued(transport, pacer);
    EXPECT_EQ(worker.Queued(), 0u);
    const std::int64_t applyEndMs = pacer.now / 1000 - 200;
    EXPECT_EQ(Describe(transport.log.back()), std::to_string(applyEndMs) + " F 02 05 00")
        << "the selection runs after the Apply's upload";
    EXPECT_EQ(host.log,
              (std::vector<std::string>{"0 copy", std::to_string(applyEndMs) + " answer",
                                        std::to_string(applyEndMs) + " copy",
                                        std::to_string(applyEndMs + 200) + " selected 4"}));
    EXPECT_TRUE(worker.Enqueue(protocol::UploadJob::SelectProfile)) << "drained: woken again";
}

// Everything queued before a full upload is replaced by it; the Applies among
// them are answered once each, after the full upload that carries their block.
TEST_F(UploadWorkerTest, FullUploadReplacesEverythingQueuedAndAnswersItsApplies) {
    worker.Enqueue(protocol::UploadJob::ChangedOnly);
    worker.Enqueue(protocol::UploadJob::SelectProfile);
    worker.Enqueue(protocol::UploadJob::ChangedOnly);
    worker.Enqueue(protocol::UploadJob::Full);
    worker.Enqueue(protocol::UploadJob::Full);
    ASSERT_EQ(worker.Queued(), 1u);
    worker.RunQueued(transport, pacer);
    EXPECT_EQ(transport.log.size(), 46u) << "one full upload";
    EXPECT_EQ(host.log, (std::vector<std::string>{"0 copy", "6700 answer", "6700 answer"}));

    // A selection after a queued full upload is kept: it shows the notice.
    worker.Enqueue(protocol::UploadJob::Full);
    worker.Enqueue(protocol::UploadJob::SelectProfile);
    EXPECT_EQ(worker.Queued(), 2u);
}

// Shut-down with jobs still queued and no thread left to run them: the
// Applies are answered, nothing is sent.
TEST_F(UploadWorkerTest, DroppedQueueAnswersEveryApplyOnce) {
    worker.BeginShutDown();
    worker.Enqueue(protocol::UploadJob::ChangedOnly);
    worker.Enqueue(protocol::UploadJob::SelectProfile);
    worker.Enqueue(protocol::UploadJob::ChangedOnly);
    worker.DropQueued();
    EXPECT_EQ(worker.Queued(), 0u);
    EXPECT_TRUE(transport.log.empty());
    EXPECT_EQ(host.log, (std::vector<std::string>{"0 answer", "0 answer"}));
}

}  // namespace
}  // namespace device
