// Reading the mouse's input reports: our event report becomes an event, any
// other report is only recorded, and the capture reads every collection that
// lets itself be read for its first minutes.
#include "korrin/input_reader.h"

#include <gtest/gtest.h>

#include "korrin/channel_plan.h"
#include "korrin/device_description.h"
#include "korrin/korrin_core.h"
#include "tests/unit/korrin/fake_hid.h"

namespace korrin {
namespace {

using fake::FakeHid;
using fake::MemorySink;

std::vector<std::uint8_t> Report(std::size_t length, std::initializer_list<std::uint8_t> head) {
    std::vector<std::uint8_t> r(length, 0);
    std::copy(head.begin(), head.end(), r.begin());
    return r;
}

struct ReaderRig {
    explicit ReaderRig(std::vector<fake::FakeCollection> layout, bool capturing,
                       EventFormat format = {})
        : collections([&] {
              std::vector<CollectionInfo> out;
              for (const auto& c : layout) out.push_back(c.info);
              return out;
          }()),
          hid(std::move(layout)),
          log(sink, [this] { return hid.NowMs(); }),
          reader(std::make_unique<InputReader>(
              hid, log, [this](std::uint32_t c) { events.push_back(c); }, 500, format)) {
        if (capturing)
            log.Start(true, "capture");
    }
    ~ReaderRig() { reader.reset(); }
    std::vector<Access> OpensOf(const std::string& path) const {
        std::vector<Access> out;
        for (const auto& o : hid.opens)
            if (o.path == path)
                out.push_back(o.access);
        return out;
    }
    std::vector<CollectionInfo> collections;
    FakeHid hid;
    MemorySink sink;
    CaptureLog log;
    std::vector<std::uint32_t> events;
    std::unique_ptr<InputReader> reader;
};

TEST(InputReader, OurEventReportBecomesAnEventAnythingElseIsOnlyRecorded) {
    ReaderRig rig(fake::LayoutA(), false);
    const std::string vendor = rig.collections[1].path;
    rig.reader->Start(rig.collections);
    // Only the vendor collection is read when no capture runs.
    EXPECT_TRUE(rig.OpensOf(rig.collections[0].path).empty());
    ASSERT_EQ(rig.reader->Waitables().size(), 1u);

    // Raw reports are recorded while a capture runs.
    ASSERT_TRUE(rig.log.Start(true, "capture"));
    rig.hid.Queue(vendor, Report(65, {0x00, 0x12, 0x40, 0x00, 0x01, 0x03}));
    rig.hid.Queue(vendor, EncodeEventReport(0x40000103, 65));
    // One report per read: the event loop comes back for the second.
    rig.reader->Service();
    EXPECT_TRUE(rig.events.empty());
    rig.reader->Service();
    EXPECT_EQ(rig.events, (std::vector<std::uint32_t>{0x40000103}));
    EXPECT_TRUE(rig.sink.Has("input " + vendor + " [65] 00 12 40 00 01 03 00"));
    EXPECT_TRUE(rig.sink.Has(": not an event"));
    EXPECT_TRUE(rig.sink.Has(": event 40000103"));
    // Each read is followed by the next.
    EXPECT_EQ(rig.reader->Waitables().size(), 1u);
    rig.reader->Stop();
    EXPECT_EQ(rig.hid.liveHandles, 0);
}

TEST(InputReader, CaptureReadsEveryReadableCollectionButDecodesOnlyTheVendorOne) {
    ReaderRig rig(fake::LayoutB(), true);
    rig.reader->Start(rig.collections);
    // The mouse is the system's; the keyboard is not even tried (the fake
    // fails the test on its open); consumer and vendor are read.
    EXPECT_TRUE(rig.sink.Has("input " + rig.collections[0].path + ": not readable"));
    EXPECT_FALSE(rig.sink.Has(rig.collections[1].path));
    EXPECT_EQ(rig.OpensOf(rig.collections[2].path), (std::vector<Access>{Access::Read}));
    EXPECT_EQ(rig.reader->Waitables().size(), 2u);

    // A consumer report that happens to look like ours is no event.
    const std::string consumer = rig.collections[2].path;
    rig.hid.Queue(consumer, {0x02, 0xE7, 0x00});
    rig.hid.Queue(rig.collections[3].path, EncodeEventReport(0xA0000000, 65));
    rig.reader->Service();
    EXPECT_EQ(rig.events, (std::vector<std::uint32_t>{0xA0000000}));
    EXPECT_TRUE(rig.sink.Has("input " + consumer + " [3] 02 E7 00 : not an event"));

    // Once the capture is over the consumer collection is let go and nothing
    // raw is recorded; events still arrive.
    rig.hid.now += kCaptureMs;
    rig.hid.Queue(consumer, {0x02, 0xE9, 0x00});
    rig.hid.Queue(rig.collections[3].path, EncodeEventReport(0x40000105, 65));
    const std::size_t linesBefore = rig.sink.lines.size();
    rig.reader->Service();
    EXPECT_EQ(rig.events.size(), 2u);
    EXPECT_EQ(rig.reader->Waitables().size(), 1u);
    ASSERT_EQ(rig.sink.lines.size(), linesBefore + 2);
    EXPECT_EQ(rig.sink.lines[linesBefore], "capture ended: 5 minutes recorded");
    EXPECT_NE(rig.sink.lines.back().find("capture over, no longer read"), std::string::npos);
}

TEST(InputReader, AFailedReadEndsItsCollectionAndTheReaderCanStartAgain) {
    ReaderRig rig(fake::LayoutA(), false);
    const std::string vendor = rig.collections[1].path;
    rig.reader->Start(rig.collections);
    EXPECT_FALSE(rig.reader->Lost());
    rig.hid.Queue(vendor, {});
    rig.reader->Service();
    EXPECT_TRUE(rig.reader->Waitables().empty());
    EXPECT_TRUE(rig.reader->Lost());
    EXPECT_TRUE(rig.sink.Has("input " + vendor + ": read failed"));
    rig.reader->Start(rig.collections);
    EXPECT_FALSE(rig.reader->Lost());
    rig.hid.Queue(vendor, EncodeEventReport(0x40000101, 65));
    rig.reader->Service();
    EXPECT_EQ(rig.events, (std::vector<std::uint32_t>{0x40000101}));

    // A device with nothing to read for events is not lost, only quiet.
    ReaderRig quiet(fake::LayoutC(), false);
    quiet.collections[1].usagePage = 0x0001;
    quiet.collections[1].usage = 0x0002;
    quiet.reader->Start(quiet.collections);
    EXPECT_TRUE(quiet.reader->Running());
    EXPECT_FALSE(quiet.reader->Lost());
}

TEST(InputReader, ADescriptionMovesTheEventReportAndAnyInputLengthIsRead) {
    // Events on report id 4: a one-byte category the table maps, data after it.
    const DescriptionLoad load = ParseDescription(
        "[Events]\nReportId = 4\nLength = 4\nTagOffset = none\nCategoryOffset = 1\n"
        "CategorySize = 1\nCategoryMask = 0xFF\nDataOffset = 2\nDataSize = 2\n"
        "Category.0x01 = 0x4000\nCategory.0x0A = 0xA000\n",
        "korrin-device.ini");
    ASSERT_EQ(load.problem, "");
    auto layout = fake::LayoutA();
    layout[1].info.input = fake::One(4, 4);  // shorter than the built-in report
    ReaderRig rig(layout, false, load.description.event);
    const std::string vendor = rig.collections[1].path;
    rig.reader->Start(rig.collections);
    ASSERT_EQ(rig.reader->Waitables().size(), 1u);
    for (const std::vector<std::uint8_t>& report : std::vector<std::vector<std::uint8_t>>{
             {0x04, 0x01, 0x01, 0x03},  // button 3 pressed
             {0x04, 0x0A, 0x00, 0x00},  // open the settings
             {0x04, 0x02, 0x00, 0x01},  // a category the table does not list
             {0x05, 0x01, 0x01, 0x03},  // another report id
             {0x04, 0x01},              // cut short
             {0x00, 0xE7, 0x40, 0x00},  // the built-in framing
         }) {
        rig.hid.Queue(vendor, report);
        rig.reader->Service();
    }
    EXPECT_EQ(rig.events, (std::vector<std::uint32_t>{0x40000103, 0xA0000000}));
    EXPECT_EQ(rig.reader->Waitables().size(), 1u);

    // The built-in format reads the short collection too, and takes nothing
    // from reports too short for its fields.
    ReaderRig builtIn(layout, false);
    builtIn.reader->Start(builtIn.collections);
    ASSERT_EQ(builtIn.reader->Waitables().size(), 1u);
    builtIn.hid.Queue(vendor, {0x04, 0xE7, 0x40, 0x00});
    builtIn.reader->Service();
    EXPECT_TRUE(builtIn.events.empty());
}

TEST(InputReader, StopCancelsTheReadsUnderWay) {
    ReaderRig rig(fake::LayoutA(), false);
    rig.reader->Start(rig.collections);
    ASSERT_TRUE(rig.reader->Running());
    rig.reader->Stop();
    EXPECT_FALSE(rig.reader->Running());
    EXPECT_EQ(rig.hid.cancels, 1) << "the read under way is cancelled";
    EXPECT_TRUE(rig.reader->Waitables().empty());
}

}  // namespace
}  // namespace korrin
