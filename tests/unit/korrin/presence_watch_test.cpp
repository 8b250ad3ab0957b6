// A real PC's day over fake devices: re-enumerations that leave the handles
// stale, two identical mice, and the system asking whether the mouse may go.
// What matters is what the client is told and where the reports go.
#include "korrin/presence_watch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/unit/korrin/fake_hid.h"

namespace korrin {
namespace {

using fake::FakeCollection;

const std::vector<std::uint8_t> kCommand = {0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFC};
const std::vector<std::uint8_t> kChunk(64, 0x11);

// The library's HID half and its presence watch, with the client's messages
// (1 arrived, 0 removed) kept in order.
struct Day {
    explicit Day(std::vector<FakeCollection> layout, Timeouts timeouts = {})
        : hid(std::move(layout)),
          log(sink, [this] { return hid.NowMs(); }),
          device(std::make_unique<HidDevice>(hid, log, store, timeouts)),
          watch(*device, [this](int arrived) { told.push_back(arrived); }) {
        device->SetIds(fake::kVid, fake::kPid);
        // In the library the handler posts to the watch thread; the effect is this.
        device->SetReplugHandler([this] { watch.Replugged(); });
        watch.Start();
    }
    ~Day() { device.reset(); }  // before the fake checks that nothing is left open
    void OpenChannels() {
        ASSERT_TRUE(device->OpenFeature());
        ASSERT_TRUE(device->OpenReport());
    }
    // What the client does on a removal message.
    void CloseChannels() {
        device->CloseFeature();
        device->CloseReport();
    }
    std::string LastPath() const { return hid.transfers.back().path; }

    fake::FakeHid hid;
    fake::MemorySink sink;
    fake::MemoryStore store;
    CaptureLog log;
    std::unique_ptr<HidDevice> device;
    PresenceWatch watch;
    std::vector<int> told;
};

TEST(QuickReplug, StaleHandlesReopenOnceAndTheClientIsToldRemovalThenArrival) {
    Day day(fake::LayoutA());
    ASSERT_TRUE(day.watch.Present());
    day.OpenChannels();
    ASSERT_EQ(day.device->SetFeature(kCommand), 1);  // the channel is confirmed

    // Resume from sleep: the device objects are new, the handles stale.
    day.hid.Reenumerate();
    const std::size_t opensBefore = day.hid.opens.size();
    EXPECT_EQ(day.device->SetFeature(kCommand), 1) << "sent again on a fresh handle";
    EXPECT_EQ(day.told, (std::vector<int>{0, 1})) << "a replug, so the next upload is full";
    // The chunk channel was renewed with it: no second replug is told.
    EXPECT_EQ(day.device->Write(kChunk), 1);
    EXPECT_EQ(day.told, (std::vector<int>{0, 1}));
    EXPECT_EQ(day.hid.opens.size(), opensBefore + 2) << "one reopen per channel";
    EXPECT_TRUE(day.sink.Has("(system error 1167)"));
    // The same path was reopened, not some other candidate.
    EXPECT_EQ(day.LastPath(), day.hid.opens.back().path);

    // A firmware that refuses a report fails the same way on the fresh
    // handle: that is no replug, and nothing loops.
    day.hid.failingSends = {day.LastPath()};
    day.hid.failError = syserr::kGenFailure;
    const std::size_t transfers = day.hid.transfers.size();
    EXPECT_EQ(day.device->SetFeature(kCommand), 0);
    EXPECT_EQ(day.hid.transfers.size(), transfers + 2) << "tried once more, on one fresh handle";
    EXPECT_EQ(day.told, (std::vector<int>{0, 1}));

    // Unplugged for good: the reopen fails, nothing is told by the send (the
    // removal notice and the checks tell it).
    day.hid.failingSends.clear();
    day.hid.Unplug("");
    EXPECT_EQ(day.device->SetFeature(kCommand), 0);
    EXPECT_EQ(day.told, (std::vector<int>{0, 1}));
}

TEST(QuickReplug, ARemovalNoticeNamingOurChannelIsARemovalEvenWhenListedAgain) {
    Day day(fake::LayoutA());
    day.OpenChannels();
    // The interface is back in the listing before the notice is handled.
    day.hid.Reenumerate();
    day.watch.InterfaceRemoved(
        R"(\\?\HID#VID_04D9&PID_AD50&MI_01#7&2A1F&0&0000#{4D1E55B2-F16F-11CF-88CB-001111000030})");
    EXPECT_EQ(day.told, (std::vector<int>{0})) << "told at once, whatever case the notice uses";
    day.CloseChannels();
    day.watch.InterfaceArrived();
    EXPECT_EQ(day.told, (std::vector<int>{0, 1}));

    // A notice of an interface that is none of our channels only asks for a
    // check: one miss is no removal.
    day.watch.InterfaceRemoved(R"(\\?\hid#vid_046d&pid_c31c#1#{x})");
    EXPECT_EQ(day.told, (std::vector<int>{0, 1}));
}

TEST(TwoIdenticalMice, ChannelsReaderAndPresenceBelongToOneMouse) {
    auto layout = fake::AsDevice(fake::LayoutB(), "{container-of-the-first-mouse}");
    const auto second = fake::SecondMouse(fake::LayoutB());
    layout.insert(layout.end(), second.begin(), second.end());
    Day day(layout);
    const std::string firstVendor = layout[3].info.path, secondVendor = layout[7].info.path;
    day.OpenChannels();
    ASSERT_EQ(day.device->SetFeature(kCommand), 1);
    EXPECT_EQ(day.LastPath(), firstVendor);
    ASSERT_EQ(day.device->Write(kChunk), 1);
    EXPECT_EQ(day.LastPath(), firstVendor) << "both channels on the same mouse";
    // The reader reads the mouse in use only.
    for (const CollectionInfo& c : day.watch.Collections())
        EXPECT_EQ(c.deviceKey, "{container-of-the-first-mouse}") << c.path;
    // The report lists both, and says which one is used.
    const std::string report = day.device->Report();
    EXPECT_NE(report.find("device {container-of-the-first-mouse}: the mouse in use\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("device {container-of-the-second-mouse}: another mouse of the same "
                          "kind, ignored\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("interface " + secondVendor), std::string::npos);

    // Unplugging the second mouse changes nothing at all.
    day.hid.Unplug("{container-of-the-second-mouse}");
    day.watch.InterfaceRemoved(secondVendor);
    day.watch.Poll();
    day.watch.Poll();
    EXPECT_TRUE(day.told.empty());
    EXPECT_EQ(day.device->SetFeature(kCommand), 1);
    EXPECT_EQ(day.LastPath(), firstVendor);

    // The second plugged back and the first unplugged: a removal, then the
    // second is the mouse.
    Day swap(layout);
    swap.OpenChannels();
    swap.hid.Unplug("{container-of-the-first-mouse}");
    swap.watch.Poll();
    swap.watch.Poll();
    EXPECT_EQ(swap.told, (std::vector<int>{0})) << "another mouse listed is no sign of this one";
    swap.CloseChannels();
    swap.watch.Poll();
    EXPECT_EQ(swap.told, (std::vector<int>{0, 1}));
    swap.OpenChannels();
    EXPECT_EQ(swap.device->SetFeature(kCommand), 1);
    EXPECT_EQ(swap.LastPath(), secondVendor);
}

TEST(TwoIdenticalMice, WithoutContainerOrParentThePathGroupsTheCollections) {
    EXPECT_EQ(DeviceKeyFromPath(R"(\\?\HID#VID_04D9&PID_AD50&MI_01&Col02#8&1b&0&0001#{g})"),
              R"(\\?\hid#vid_04d9&pid_ad50)");
    EXPECT_EQ(DeviceKeyFromPath(R"(\\?\hid#vid_04d9&pid_ad50&mi_00#7&2a1f&0&0000#{g})"),
              R"(\\?\hid#vid_04d9&pid_ad50)");
    auto collection = [](const char* path, const char* key) {
        CollectionInfo c;
        c.path = path;
        c.deviceKey = key;
        return c;
    };
    const auto groups = GroupByDevice(
        {collection(R"(\\?\hid#vid_04d9&pid_ad50&mi_00#a)", ""),
         collection(R"(\\?\hid#vid_04d9&pid_ad50&mi_01&col01#b)", ""),
         collection(R"(\\?\hid#vid_04d9&pid_ad50&mi_01&col02#c)", "{listed container}")});
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].collections.size(), 2u);
    EXPECT_EQ(groups[1].key, "{listed container}");
}

TEST(RemovalIsNeverBlocked, QueryClosesCancelledRemovalReopensCompletedRemovalIsTold) {
    Day day(fake::LayoutA());
    day.OpenChannels();
    const std::string path = day.hid.opens.back().path;
    EXPECT_EQ(std::count(day.hid.watched.begin(), day.hid.watched.end(), path), 2)
        << "each channel asks for its handle's notices";
    ASSERT_EQ(day.hid.liveHandles, 2);

    day.watch.QueryRemove(path);
    EXPECT_EQ(day.hid.liveHandles, 0) << "nothing of ours keeps the device";
    EXPECT_EQ(day.hid.liveNotices, 2) << "the notices stay, to hear a cancellation";
    EXPECT_EQ(day.device->SetFeature(kCommand), 0);
    EXPECT_TRUE(day.told.empty()) << "a question is no removal";

    day.watch.RemoveCancelled(path);
    EXPECT_EQ(day.hid.liveHandles, 2);
    EXPECT_EQ(day.device->SetFeature(kCommand), 1);
    EXPECT_EQ(day.device->Write(kChunk), 1);
    EXPECT_TRUE(day.told.empty());

    day.watch.QueryRemove(path);
    day.watch.RemoveComplete(path);
    EXPECT_EQ(day.told, (std::vector<int>{0}));
    EXPECT_EQ(day.hid.liveNotices, 0);
    EXPECT_EQ(day.device->Write(kChunk), 0);
    // A notice for a path that is not ours tells nothing.
    day.watch.RemoveComplete(R"(\\?\hid#vid_04d9&pid_ad50&mi_00#other)");
    EXPECT_EQ(day.told, (std::vector<int>{0}));

    // A send under way does not hold the removal up: it is aborted, though
    // it would give up by itself only after a minute.
    Day busy(fake::LayoutA(), Timeouts{60000, 100, 500});
    busy.OpenChannels();
    busy.hid.sendMode = fake::SendMode::BlockUntil;
    int result = -1;
    std::thread sender([&] { result = busy.device->SetFeature(kCommand); });
    busy.hid.WaitUntilBlocked();
    busy.watch.QueryRemove(busy.hid.opens.back().path);
    sender.join();
    EXPECT_EQ(result, 0);
    ASSERT_FALSE(busy.hid.sendWaitResults.empty());
    EXPECT_EQ(busy.hid.sendWaitResults.front(), WaitResult::Aborted);
    EXPECT_EQ(busy.hid.liveHandles, 0);
}

}  // namespace
}  // namespace korrin
