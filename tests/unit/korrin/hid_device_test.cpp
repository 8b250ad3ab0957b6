// The HID half of the library over fake devices of realistic layouts: which
// collection carries what, the bytes that reach the system, presence, and
// what happens when the device does not answer.
#include "korrin/hid_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/unit/korrin/fake_hid.h"

namespace korrin {
namespace {

using fake::FakeHid;
using fake::MemorySink;
using fake::SendMode;

std::vector<std::uint8_t> Command() {
    return {0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFC};
}

std::vector<std::uint8_t> Chunk() {
    std::vector<std::uint8_t> chunk(64);
    for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<std::uint8_t>(i + 1);
    return chunk;
}

// The report the system must see: id, payload, zeros up to the length.
std::vector<std::uint8_t> Framed(std::uint8_t id, const std::vector<std::uint8_t>& payload,
                                 std::size_t length) {
    std::vector<std::uint8_t> out(length, 0);
    out[0] = id;
    std::copy(payload.begin(), payload.end(), out.begin() + 1);
    return out;
}

std::string Path(const std::vector<fake::FakeCollection>& layout, std::size_t i) {
    return layout[i].info.path;
}

struct Rig {
    explicit Rig(std::vector<fake::FakeCollection> layout, std::vector<std::string> others = {},
                 Timeouts timeouts = {})
        : hid(std::move(layout), std::move(others)),
          log(sink, [this] { return hid.NowMs(); }),
          device(std::make_unique<HidDevice>(hid, log, store, timeouts)) {
        device->SetIds(fake::kVid, fake::kPid);
    }
    ~Rig() { device.reset(); }  // before the fake checks that no handle is left
    // A fresh library over the same system and remembered choices.
    void Restart() {
        device.reset();
        device = std::make_unique<HidDevice>(hid, log, store, Timeouts{});
        device->SetIds(fake::kVid, fake::kPid);
    }
    // Opens both channels and sends a command, then a chunk: two transfers.
    void SendCommandAndChunk() {
        ASSERT_TRUE(device->OpenFeature());
        ASSERT_TRUE(device->OpenReport());
        EXPECT_EQ(device->SetFeature(Command()), 1);
        EXPECT_EQ(device->Write(Chunk()), 1);
        ASSERT_EQ(hid.transfers.size(), 2u);
    }
    FakeHid hid;
    MemorySink sink;
    fake::MemoryStore store;
    CaptureLog log;
    std::unique_ptr<HidDevice> device;
};

TEST(HidDeviceLayouts, VendorCollectionWithoutReportIds) {
    const auto layout = fake::LayoutA();
    Rig rig(layout);
    ASSERT_NO_FATAL_FAILURE(rig.SendCommandAndChunk());
    EXPECT_EQ(rig.hid.transfers[0].path, Path(layout, 1));
    EXPECT_EQ(rig.hid.transfers[0].kind, TransferKind::SetFeature);
    EXPECT_EQ(rig.hid.transfers[0].bytes, Framed(0, Command(), 9));
    EXPECT_EQ(rig.hid.transfers[1].path, Path(layout, 1));
    EXPECT_EQ(rig.hid.transfers[1].kind, TransferKind::Output);
    EXPECT_EQ(rig.hid.transfers[1].bytes, Framed(0, Chunk(), 65));
    // Every send bounded by the transfer time-out and abortable by a close.
    for (const auto& w : rig.hid.waits) EXPECT_EQ(w, std::make_pair(2500u, true));
    EXPECT_TRUE(rig.sink.Has("feature report [9] 00 02 01 00 00 00 00 00 FC : sent"));
}

TEST(HidDeviceLayouts, VendorCollectionAmongKeyboardAndConsumerWithReportIds) {
    const auto layout = fake::LayoutB();
    const std::string keyboard = Path(layout, 1);
    // Another vendor's keyboard is listed too and must not even be described.
    Rig rig(layout, {R"(\\?\hid#vid_046d&pid_c31c&mi_00#7&1&0&0000#{4d1e55b2})"});
    rig.log.Start(true, "capture");
    ASSERT_NO_FATAL_FAILURE(rig.SendCommandAndChunk());
    // Each channel carries its own collection's report id in byte 0.
    EXPECT_EQ(rig.hid.transfers[0].path, Path(layout, 3));
    EXPECT_EQ(rig.hid.transfers[0].bytes, Framed(5, Command(), 9));
    EXPECT_EQ(rig.hid.transfers[1].path, Path(layout, 3));
    EXPECT_EQ(rig.hid.transfers[1].bytes, Framed(6, Chunk(), 65));
    // The capture tells what was found and why the channel was taken.
    EXPECT_TRUE(
        rig.sink.Captured("usage page FF00 usage 0001, input 65 ids 7:65, output 65 ids 6:65, "
                          "feature 9 ids 5:9"));
    EXPECT_TRUE(rig.sink.Captured("command channel: candidate 1 of 1 " + Path(layout, 3) +
                                  " (feature report, vendor page, report id 5 of exact length "
                                  "9), opened read/write"));
    // The keyboard, although it would open and has a report of the command's
    // length, is neither opened (the fake fails the test) nor logged; only
    // the device report lists it, from its caps, for a layout to be rebuilt.
    rig.device->Probe();
    EXPECT_FALSE(rig.sink.Has(keyboard));
    EXPECT_FALSE(rig.sink.Captured(keyboard));
    EXPECT_NE(rig.device->Report().find("interface " + keyboard), std::string::npos);
}

TEST(HidDeviceLayouts, FeatureOnTheSystemsMouseCollectionOpensWithoutAccess) {
    const auto layout = fake::LayoutC();
    Rig rig(layout);
    ASSERT_TRUE(rig.device->OpenFeature());
    ASSERT_EQ(rig.hid.opens.size(), 2u);
    EXPECT_EQ(rig.hid.opens[0].path, Path(layout, 0));
    EXPECT_EQ(rig.hid.opens[0].access, Access::ReadWrite);
    EXPECT_EQ(rig.hid.opens[1].path, Path(layout, 0));
    EXPECT_EQ(rig.hid.opens[1].access, Access::None);
    EXPECT_EQ(rig.device->SetFeature(Command()), 1);
    ASSERT_EQ(rig.hid.transfers.size(), 1u);
    EXPECT_EQ(rig.hid.transfers[0].bytes, Framed(3, Command(), 9));
    EXPECT_TRUE(rig.sink.Has("opened without access, sent as feature report"));

    // The output channel gets read/write on the vendor collection and writes.
    ASSERT_TRUE(rig.device->OpenReport());
    EXPECT_EQ(rig.hid.opens.back().path, Path(layout, 1));
    EXPECT_EQ(rig.hid.opens.back().access, Access::ReadWrite);
    EXPECT_EQ(rig.device->Write(Chunk()), 1);
    EXPECT_EQ(rig.hid.transfers.back().kind, TransferKind::Output);

    // Held by another program so that read/write is refused, it still takes
    // the chunks as control requests on a handle without access.
    auto held = fake::LayoutC();
    held[1].refusesReadWrite = true;
    Rig heldRig(held);
    ASSERT_TRUE(heldRig.device->OpenReport());
    EXPECT_EQ(heldRig.device->Write(Chunk()), 1);
    EXPECT_EQ(heldRig.hid.transfers.back().kind, TransferKind::SetOutput);
}

TEST(HidDeviceLayouts, FeatureReportsOnlyPresentAndEachReportUnderTheIdOfItsLength) {
    // Feature ids 1 (8 + 1 bytes) and 2 (64 + 1) on one collection; the buffer
    // is always the 65 bytes the system requires.
    const auto layout = fake::LayoutE();
    Rig rig(layout);
    EXPECT_TRUE(rig.device->Probe());
    ASSERT_TRUE(rig.device->OpenFeature());
    ASSERT_TRUE(rig.device->OpenReport()) << "present: its command channel opens";
    EXPECT_EQ(rig.device->SetFeature(Command()), 1);
    EXPECT_EQ(rig.device->Write(Chunk()), 1);
    ASSERT_EQ(rig.hid.transfers.size(), 2u);
    EXPECT_EQ(rig.hid.transfers[0].kind, TransferKind::SetFeature);
    EXPECT_EQ(rig.hid.transfers[0].bytes, Framed(1, Command(), 65));
    EXPECT_EQ(rig.hid.transfers[1].kind, TransferKind::SetFeature);
    EXPECT_EQ(rig.hid.transfers[1].bytes, Framed(2, Chunk(), 65));
    const std::string report = rig.device->Report();
    EXPECT_NE(report.find("  feature buffer 65: id 1 length 9; id 2 length 65;\r\n"),
              std::string::npos)
        << report;

    // No way for chunks at all: present all the same, for the commands.
    Rig commandsOnly(fake::LayoutD());
    EXPECT_TRUE(commandsOnly.device->OpenReport());
    EXPECT_EQ(commandsOnly.device->Write(Chunk()), 0);

    // A command channel that refuses every access is no usable mouse.
    auto refused = fake::LayoutD();
    refused[1].info.feature = {};
    Rig absent(refused);
    EXPECT_FALSE(absent.device->Probe());
    EXPECT_FALSE(absent.device->OpenReport());
    EXPECT_EQ(absent.hid.liveHandles, 0) << "the probe keeps nothing open";
}

TEST(HidDeviceFallback, TheNextCandidateTakesWhatTheFirstRefusesAndIsRemembered) {
    // Two vendor collections with a command-sized feature report; the firmware
    // only takes commands on the second.
    auto layout = fake::LayoutA();
    auto second = layout[1];
    second.info.path = layout[1].info.path + "&col02";
    second.info.output = {};
    layout.push_back(second);
    Rig rig(layout);
    rig.hid.failingSends = {Path(layout, 1)};
    ASSERT_TRUE(rig.device->OpenFeature());
    EXPECT_EQ(rig.device->SetFeature(Command()), 1);
    ASSERT_EQ(rig.hid.transfers.size(), 2u);
    EXPECT_EQ(rig.hid.transfers[0].path, Path(layout, 1));
    EXPECT_EQ(rig.hid.transfers[1].path, Path(layout, 2));
    EXPECT_EQ(rig.hid.transfers[1].bytes, Framed(0, Command(), 9));
    EXPECT_EQ(rig.store.saves, 1);
    EXPECT_EQ(rig.store.choices[Role::Command].path, Path(layout, 2));
    // Later commands go straight to the one that works.
    EXPECT_EQ(rig.device->SetFeature(Command()), 1);
    EXPECT_EQ(rig.hid.transfers.size(), 3u);

    // After a restart the remembered candidate is the first one tried.
    rig.Restart();
    rig.hid.transfers.clear();
    ASSERT_TRUE(rig.device->OpenFeature());
    EXPECT_EQ(rig.device->SetFeature(Command()), 1);
    ASSERT_EQ(rig.hid.transfers.size(), 1u);
    EXPECT_EQ(rig.hid.transfers[0].path, Path(layout, 2));
    EXPECT_EQ(rig.store.saves, 1) << "nothing new to remember";
    EXPECT_TRUE(rig.sink.Has("remembered from an earlier send that worked"));
}

TEST(HidDeviceCapture, MacroBlocksAreWrittenAsTheirLengthOnly) {
    Rig rig(fake::LayoutA());
    ASSERT_TRUE(rig.log.Start(true, "capture"));
    ASSERT_TRUE(rig.device->OpenFeature());
    ASSERT_TRUE(rig.device->OpenReport());
    // A macro block: its command, then two chunks of recorded keystrokes.
    const std::vector<std::uint8_t> macro = {0x0F, 0x15, 0x80, 0, 0, 0, 0, 0x5B};
    std::vector<std::uint8_t> keys(64, 0x00);
    keys[0] = 0x00;
    keys[1] = 0x02;
    keys[2] = 0x0D;
    keys[3] = 0xA7;  // a key code that appears in no other report
    EXPECT_EQ(rig.device->SetFeature(macro), 1);
    EXPECT_EQ(rig.device->Write(keys), 1);
    EXPECT_EQ(rig.device->Write(keys), 1);
    // The key map block that follows is no macro: written out.
    const std::vector<std::uint8_t> keyMap = {0x0D, 0x01, 0x80, 0, 0, 0, 0, 0x71};
    EXPECT_EQ(rig.device->SetFeature(keyMap), 1);
    EXPECT_EQ(rig.device->Write(Chunk()), 1);

    for (const auto* lines : {&rig.sink.captured, &rig.sink.lines})
        for (const std::string& line : *lines) {
            EXPECT_EQ(line.find("0F 15 80"), std::string::npos) << line;
            EXPECT_EQ(line.find("A7"), std::string::npos) << line;
        }
    EXPECT_TRUE(rig.sink.Captured("feature report [9] macro block command, contents withheld"));
    const auto withheld =
        std::count_if(rig.sink.captured.begin(), rig.sink.captured.end(), [](const std::string& l) {
            return l.find("output report [65] macro block data, contents withheld : sent") !=
                   std::string::npos;
        });
    EXPECT_EQ(withheld, 2);
    EXPECT_TRUE(rig.sink.Captured("feature report [9] 00 0D 01 80"));
    EXPECT_TRUE(rig.sink.Captured("output report [65] 00 01 02 03"));
}

TEST(HidDeviceFraming, LongerReportsArePaddedAndNothingIsEverCut) {
    // A vendor feature report of 33 bytes: the command is padded to it.
    auto layout = fake::LayoutA();
    layout[1].info.feature = fake::One(33);
    Rig rig(layout);
    ASSERT_TRUE(rig.device->OpenFeature());
    EXPECT_EQ(rig.device->SetFeature(Command()), 1);
    ASSERT_EQ(rig.hid.transfers.size(), 1u);
    EXPECT_EQ(rig.hid.transfers[0].bytes, Framed(0, Command(), 33));
    // A payload longer than the report is refused, not cut.
    EXPECT_EQ(rig.device->SetFeature(std::vector<std::uint8_t>(40, 1)), 0);
    EXPECT_EQ(rig.hid.transfers.size(), 1u);

    // A report one byte too short for id + payload is no candidate at all.
    auto tooShort = fake::LayoutA();
    tooShort[1].info.feature = fake::One(8);
    tooShort[1].info.output = fake::One(64);
    Rig shortRig(tooShort);
    EXPECT_FALSE(shortRig.device->OpenFeature());
    EXPECT_EQ(shortRig.device->SetFeature(Command()), 0);
    EXPECT_TRUE(shortRig.hid.transfers.empty());
}

TEST(HidDeviceTimeouts, StalledSendsAreCancelledAfterTheirTimeOut) {
    Rig rig(fake::LayoutA());
    ASSERT_TRUE(rig.device->OpenFeature());
    ASSERT_TRUE(rig.device->OpenReport());
    rig.hid.sendMode = SendMode::Stall;
    EXPECT_EQ(rig.device->SetFeature(Command()), 0);
    EXPECT_EQ(rig.device->Write(Chunk()), 0);
    EXPECT_EQ(rig.hid.cancels, 2);
    // Each: the time-out (abortable), then a bounded wait for the cancellation.
    const std::vector<std::pair<std::uint32_t, bool>> expected = {
        {2500, true}, {500, false}, {2500, true}, {500, false}};
    EXPECT_EQ(rig.hid.waits, expected);
    EXPECT_TRUE(rig.sink.Has("feature report [9] 00 02 01 00 00 00 00 00 FC : timed out"));

    // The device answers again: the same channels work.
    rig.hid.sendMode = SendMode::Complete;
    EXPECT_EQ(rig.device->SetFeature(Command()), 1);
    EXPECT_EQ(rig.device->Write(Chunk()), 1);
}

TEST(HidDeviceTimeouts, ATransferThatCannotBeCancelledRetiresTheChannel) {
    Rig rig(fake::LayoutA());
    ASSERT_TRUE(rig.device->OpenReport());
    rig.hid.sendMode = SendMode::Stuck;
    EXPECT_EQ(rig.device->Write(Chunk()), 0);
    // No second transfer is begun on a handle that still has one under way.
    EXPECT_EQ(rig.device->Write(Chunk()), 0);
    EXPECT_EQ(rig.hid.transfers.size(), 1u);
    EXPECT_TRUE(rig.sink.Has("channel unusable"));
    // Reopening (as on the next arrival) gives a fresh handle.
    rig.hid.sendMode = SendMode::Complete;
    ASSERT_TRUE(rig.device->OpenReport());
    EXPECT_EQ(rig.device->Write(Chunk()), 1);
}

TEST(HidDeviceTimeouts, ClosingDoesNotWaitBehindABlockedSend) {
    // The blocked send would give up by itself only after a minute.
    Rig rig(fake::LayoutA(), {}, Timeouts{60000, 100, 500});
    ASSERT_TRUE(rig.device->OpenFeature());
    rig.hid.sendMode = SendMode::BlockUntil;
    int result = -1;
    std::thread sender([&] { result = rig.device->SetFeature(Command()); });
    rig.hid.WaitUntilBlocked();
    rig.device->CloseFeature();  // returns at once: the lock is not held by the send
    sender.join();
    EXPECT_EQ(result, 0);
    ASSERT_EQ(rig.hid.sendWaitResults.size(), 2u);
    EXPECT_EQ(rig.hid.sendWaitResults[0], WaitResult::Aborted);
    EXPECT_EQ(rig.device->SetFeature(Command()), 0) << "closed";
    EXPECT_EQ(rig.hid.liveHandles, 0) << "the aborted send released the handle";
}

TEST(ChannelRanking, OutputBeforeFeatureThenVendorPageThenExactLengthThenSystemOrder) {
    auto info = [](const char* path, std::uint16_t page, std::uint16_t featureLength) {
        CollectionInfo c;
        c.path = path;
        c.usagePage = page;
        c.feature = fake::One(featureLength);
        return c;
    };
    std::vector<CollectionInfo> all = {
        info("standard-long", 0x0001, 20), info("standard-exact", 0x000C, 9),
        info("vendor-long", 0xFF00, 33),   info("too-short", 0xFF00, 8),
        info("vendor-exact", 0xFFA0, 9),   info("vendor-exact-2", 0xFF00, 9)};
    std::vector<std::string> order;
    for (const auto& c : RankCandidates(all, Role::Command)) order.push_back(c.path);
    EXPECT_EQ(order, (std::vector<std::string>{"vendor-exact", "vendor-exact-2", "vendor-long",
                                               "standard-exact", "standard-long"}));

    // Chunks: an output report of any page before a feature report.
    all[0].output = fake::One(65);
    all[2].feature = fake::One(65);
    order.clear();
    for (const auto& c : RankCandidates(all, Role::Chunk)) order.push_back(c.path);
    EXPECT_EQ(order, (std::vector<std::string>{"standard-long", "vendor-long"}));

    // Report ids by length: the shortest that holds the payload.
    const ReportSpec several{65, {{4, 65}, {2, 9}, {9, 33}}};
    EXPECT_EQ(ReportForPayload(several, 8), (ReportLength{2, 9}));
    EXPECT_EQ(ReportForPayload(several, 9), (ReportLength{9, 33}));
    EXPECT_EQ(ReportForPayload(several, 64), (ReportLength{4, 65}));
    EXPECT_FALSE(ReportForPayload(several, 65));
}

}  // namespace
}  // namespace korrin
