// The HID half of the library over fake devices of realistic layouts: which
// collection carries what, the bytes that reach the system, presence, and
// what happens when the device does not answer.
#include "korrin/hid_device.h"

#include <gtest/gtest.h>

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
          device(std::make_unique<HidDevice>(hid, log, timeouts)) {
        device->SetIds(fake::kVid, fake::kPid);
    }
    ~Rig() { device.reset(); }  // before the fake checks that no handle is left
    FakeHid hid;
    MemorySink sink;
    CaptureLog log;
    std::unique_ptr<HidDevice> device;
};

TEST(HidDeviceLayouts, VendorCollectionWithoutReportIds) {
    const auto layout = fake::LayoutA();
    Rig rig(layout);
    ASSERT_TRUE(rig.device->OpenFeature());
    ASSERT_TRUE(rig.device->OpenReport());
    EXPECT_EQ(rig.device->SetFeature(Command()), 1);
    EXPECT_EQ(rig.device->Write(Chunk()), 1);

    ASSERT_EQ(rig.hid.transfers.size(), 2u);
    EXPECT_EQ(rig.hid.transfers[0].path, Path(layout, 1));
    EXPECT_EQ(rig.hid.transfers[0].kind, TransferKind::SetFeature);
    EXPECT_EQ(rig.hid.transfers[0].bytes, Framed(0, Command(), 9));
    EXPECT_EQ(rig.hid.transfers[1].path, Path(layout, 1));
    EXPECT_EQ(rig.hid.transfers[1].kind, TransferKind::Output);
    EXPECT_EQ(rig.hid.transfers[1].bytes, Framed(0, Chunk(), 65));
    // Every send bounded by the transfer time-out and abortable by a close.
    for (const auto& w : rig.hid.waits) EXPECT_EQ(w, std::make_pair(1000u, true));
    EXPECT_TRUE(rig.sink.Has("feature report [9] 00 02 01 00 00 00 00 00 FC : sent"));
}

TEST(HidDeviceLayouts, VendorCollectionAmongKeyboardAndConsumerWithReportIds) {
    const auto layout = fake::LayoutB();
    // Another vendor's keyboard is listed too and must not even be described.
    Rig rig(layout, {R"(\\?\hid#vid_046d&pid_c31c&mi_00#7&1&0&0000#{4d1e55b2})"});
    ASSERT_TRUE(rig.device->OpenFeature());
    ASSERT_TRUE(rig.device->OpenReport());
    EXPECT_EQ(rig.device->SetFeature(Command()), 1);
    EXPECT_EQ(rig.device->Write(Chunk()), 1);

    ASSERT_EQ(rig.hid.transfers.size(), 2u);
    // Each channel carries its own collection's report id in byte 0.
    EXPECT_EQ(rig.hid.transfers[0].path, Path(layout, 3));
    EXPECT_EQ(rig.hid.transfers[0].bytes, Framed(5, Command(), 9));
    EXPECT_EQ(rig.hid.transfers[1].path, Path(layout, 3));
    EXPECT_EQ(rig.hid.transfers[1].bytes, Framed(6, Chunk(), 65));
    // The capture tells what was found and why the channel was taken.
    EXPECT_TRUE(
        rig.sink.Has("usage page FF00 usage 0001, input 65 ids 7, output 65 ids 6, "
                     "feature 9 ids 5"));
    EXPECT_TRUE(rig.sink.Has("feature channel: " + Path(layout, 3) +
                             " report id 5 length 9 (vendor page, exact length 9), opened"));
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
    EXPECT_TRUE(rig.sink.Has("read/write refused, opened without access"));

    // The output channel still needs (and gets) read/write on the vendor collection.
    ASSERT_TRUE(rig.device->OpenReport());
    EXPECT_EQ(rig.hid.opens.back().path, Path(layout, 1));
    EXPECT_EQ(rig.hid.opens.back().access, Access::ReadWrite);
    EXPECT_TRUE(rig.device->Usable());
}

TEST(HidDeviceLayouts, PresentOnlyWithAnOutputChannelThatOpens) {
    Rig missing(fake::LayoutD());
    EXPECT_FALSE(missing.device->Usable());
    EXPECT_FALSE(missing.device->OpenReport());
    // The feature channel alone is no device the client can use.
    EXPECT_TRUE(missing.device->OpenFeature());
    EXPECT_TRUE(missing.sink.Has("device not usable: no output channel"));

    // An output collection that refuses read/write is as good as none.
    auto layout = fake::LayoutA();
    layout[1].refusesReadWrite = true;
    Rig refused(layout);
    EXPECT_FALSE(refused.device->Usable());
    EXPECT_FALSE(refused.device->OpenReport());
    EXPECT_TRUE(refused.sink.Has("refuses read/write"));

    Rig present(fake::LayoutB());
    EXPECT_TRUE(present.device->Usable());
    EXPECT_EQ(present.hid.liveHandles, 0) << "the probe keeps nothing open";
}

TEST(HidDeviceFraming, LongerReportsArePaddedAndNothingIsEverCut) {
    // A vendor feature report of 33 bytes: the command is padded to it.
    auto layout = fake::LayoutA();
    layout[1].info.feature = {33, {0}};
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
    tooShort[1].info.feature = {8, {0}};
    tooShort[1].info.output = {64, {0}};
    Rig shortRig(tooShort);
    EXPECT_FALSE(shortRig.device->OpenFeature());
    EXPECT_FALSE(shortRig.device->OpenReport());
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
        {1000, true}, {500, false}, {1000, true}, {500, false}};
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

TEST(ChannelRanking, VendorPageThenExactLengthThenSystemOrder) {
    auto info = [](const char* path, std::uint16_t page, std::uint16_t featureLength) {
        CollectionInfo c;
        c.path = path;
        c.usagePage = page;
        c.feature = {featureLength, {0}};
        return c;
    };
    const std::vector<CollectionInfo> all = {
        info("standard-long", 0x0001, 20), info("standard-exact", 0x000C, 9),
        info("vendor-long", 0xFF00, 33),   info("too-short", 0xFF00, 8),
        info("vendor-exact", 0xFFA0, 9),   info("vendor-exact-2", 0xFF00, 9)};
    std::vector<std::string> order;
    for (const auto& c : RankCandidates(all, Role::Feature)) order.push_back(c.path);
    EXPECT_EQ(order, (std::vector<std::string>{"vendor-exact", "vendor-exact-2", "vendor-long",
                                               "standard-exact", "standard-long"}));

    EXPECT_EQ(ReportIdFor({9, {}}).id, 0);
    EXPECT_EQ(ReportIdFor({9, {0}}).id, 0);
    EXPECT_EQ(ReportIdFor({9, {4}}).id, 4);
    const ReportIdChoice several = ReportIdFor({9, {9, 4}});
    EXPECT_EQ(several.id, 4);
    EXPECT_TRUE(several.ambiguous);
}

}  // namespace
}  // namespace korrin
