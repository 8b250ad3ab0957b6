// A user's device report read back into the layout it shows: the layout a
// report was written from comes back whole and makes the channels choose the
// same, and a report saved by hand is rebuilt as it reads.
#include "korrin/device_report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "korrin/report_caps.h"
#include "tests/unit/korrin/fake_hid.h"

namespace korrin {
namespace {

// What a layout has its channels do: every open and transfer, and the report.
struct Decision {
    std::vector<std::string> steps;
    std::string report;
    std::vector<CollectionInfo> shown;
};

Decision Decide(const std::vector<fake::FakeCollection>& layout) {
    fake::FakeHid hid(layout);
    fake::MemorySink sink;
    fake::MemoryStore store;
    CaptureLog log(sink, [&] { return hid.NowMs(); });
    Decision d;
    {
        HidDevice device(hid, log, store);
        device.SetIds(fake::kVid, fake::kPid);
        const std::vector<std::uint8_t> command = {0x02, 0x01, 0, 0, 0, 0, 0, 0xFC};
        const std::vector<std::uint8_t> chunk(64, 0x5A);
        d.steps.push_back("feature " + std::to_string(device.OpenFeature()) + " report " +
                          std::to_string(device.OpenReport()) + " sent " +
                          std::to_string(device.SetFeature(command)) +
                          std::to_string(device.Write(chunk)));
        d.report = device.Report();
        d.shown = DescribeEvery(hid, fake::kVid, fake::kPid);
    }
    for (const fake::OpenCall& o : hid.opens)
        d.steps.push_back("open " + o.path + " " + std::to_string(static_cast<int>(o.access)));
    for (const fake::Transfer& t : hid.transfers)
        d.steps.push_back("transfer " + t.path + " " + std::to_string(static_cast<int>(t.kind)) +
                          " " + Hex(t.bytes));
    return d;
}

// A layout with everything a real system tells of a collection.
std::vector<fake::FakeCollection> Detailed(std::vector<fake::FakeCollection> layout) {
    for (fake::FakeCollection& c : layout) {
        c.info.version = 0x0103;
        c.info.product = "Souris de jeu \xC3\xA9tendue";  // UTF-8, as the adapter gives it
        c.info.manufacturer = "Holtek";
        c.info.hardwareIds = "HID\\VID_04D9&PID_AD50; HID_DEVICE";
        for (const auto& [type, spec] : {std::pair{ReportType::Input, &c.info.input},
                                         std::pair{ReportType::Output, &c.info.output},
                                         std::pair{ReportType::Feature, &c.info.feature}})
            for (const ReportLength& r : spec->reports) {
                ReportCap cap;
                cap.type = type;
                cap.reportId = r.id;
                cap.usagePage = c.info.usagePage;
                cap.usageMin = 1;
                cap.usageMax = 1;
                cap.bitSize = 8;
                cap.reportCount = static_cast<std::uint16_t>(r.length - 1);
                cap.bitPosition = 0;
                c.info.caps.push_back(cap);
            }
    }
    // A button range and an alias, as a mouse's input collection has them.
    ReportCap buttons;
    buttons.button = true;
    buttons.usagePage = 0x0009;
    buttons.usageMin = 1;
    buttons.usageMax = 5;
    buttons.isRange = true;
    buttons.isAlias = true;
    buttons.bitSize = 1;
    buttons.reportCount = 5;
    layout[0].info.caps.push_back(buttons);
    return layout;
}

TEST(DeviceReport, ALayoutComesBackWholeAndTheChannelsChooseTheSame) {
    for (const auto& layout : {fake::LayoutA(), fake::LayoutB(), fake::LayoutC(), fake::LayoutE(),
                               fake::AsDevice(fake::LayoutA(), "container {one}")}) {
        const Decision original = Decide(Detailed(layout));
        const ReportLayout read = ParseDeviceReport(original.report);
        EXPECT_TRUE(read.unreadable.empty()) << read.unreadable.front();
        EXPECT_EQ(read.vendorId, fake::kVid);
        EXPECT_EQ(read.productId, fake::kPid);
        EXPECT_EQ(read.collections, original.shown) << original.report;

        const auto rebuilt = fake::LayoutFromReport(read);
        ASSERT_EQ(rebuilt.size(), layout.size());
        // Where the library was refused read/write, the rebuilt device refuses too.
        for (std::size_t i = 0; i < layout.size(); ++i) {
            EXPECT_TRUE(!rebuilt[i].refusesReadWrite || layout[i].refusesReadWrite)
                << layout[i].info.path;
        }
        const Decision again = Decide(rebuilt);
        EXPECT_EQ(again.steps, original.steps) << original.report;
    }
    // The system's mouse collection carries the commands in layout C: only
    // its refusal makes the rebuilt channel open it without access.
    EXPECT_EQ(ParseDeviceReport(Decide(fake::LayoutC()).report).refusesReadWrite,
              std::vector<std::string>{fake::LayoutC()[0].info.path});
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(std::string(KORRIN_REPORTS_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DeviceReport, VendorReportsInAKeyboardCollectionAreRebuiltAsTheUserSawThem) {
    const std::string text = ReadFile("vendor_reports_in_keyboard.txt");
    ASSERT_FALSE(text.empty());
    const ReportLayout read = ParseDeviceReport(text);
    EXPECT_TRUE(read.unreadable.empty()) << read.unreadable.front();
    ASSERT_EQ(read.collections.size(), 3u);
    const CollectionInfo& keyboard = read.collections[1];
    EXPECT_EQ(keyboard.usagePage, 0x0001);
    EXPECT_EQ(keyboard.usage, 0x0006);
    EXPECT_EQ(keyboard.version, 0x0103);
    EXPECT_EQ(keyboard.deviceKey, "container {6A1F0C22-83D2-11EE-B962-0242AC120002}");
    EXPECT_EQ(keyboard.feature, (ReportSpec{9, {{5, 9}}}));
    EXPECT_EQ(keyboard.output, (ReportSpec{65, {{1, 2}, {6, 65}}}));
    EXPECT_EQ(keyboard.input, (ReportSpec{9, {{1, 9}}}));
    ASSERT_EQ(keyboard.caps.size(), 5u);
    EXPECT_EQ(CapText(keyboard.caps[3]), "output id 6 value page FF00 usage 0002 bits 8 count 64");
    EXPECT_EQ(read.collections[2].caps[0].usageMax, 0x023C);
    // The lengths listed are the ones the caps declare: nothing was lost.
    for (const CollectionInfo& c : read.collections)
        for (const auto& [type, spec] :
             {std::pair{ReportType::Input, &c.input}, std::pair{ReportType::Output, &c.output},
              std::pair{ReportType::Feature, &c.feature}})
            EXPECT_EQ(DeclaredLengths(c.caps, type, spec->length), spec->reports)
                << c.path << " " << ReportTypeName(type);

    // The rebuilt system lists and describes the same, hardware ids and all:
    // its report is the user's, interface for interface.
    fake::FakeHid hid(fake::LayoutFromReport(read));
    const auto shown = DescribeEvery(hid, fake::kVid, fake::kPid);
    EXPECT_EQ(shown, read.collections);
    for (const CollectionInfo& c : shown) {
        std::string lf = InterfaceText(c);
        std::erase(lf, '\r');
        EXPECT_NE(text.find(lf), std::string::npos) << lf;
    }
}

}  // namespace
}  // namespace korrin
