// A user's device report read back into the layout it shows: the layout a
// report was written from comes back whole and makes the channels choose the
// same, and a report saved by hand is rebuilt as it reads.
#include "korrin/device_report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "korrin/report_caps.h"
#include "korrin/virtual_report.h"
#include "tests/unit/korrin/fake_hid.h"

namespace korrin {
namespace {

// What a layout has its channels do: every open and transfer, and the report.
struct Decision {
    std::vector<std::string> steps;
    std::string report;
    std::vector<CollectionInfo> shown;
    std::vector<fake::OpenCall> opens;
    std::vector<fake::Transfer> transfers;
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
        // One statement each: the operands of + are evaluated in no set order.
        const bool feature = device.OpenFeature();
        const bool report = device.OpenReport();
        const int commandSent = device.SetFeature(command);
        const int chunkSent = device.Write(chunk);
        d.steps.push_back("feature " + std::to_string(feature) + " report " +
                          std::to_string(report) + " sent " + std::to_string(commandSent) +
                          std::to_string(chunkSent));
        d.report = device.Report();
        d.shown = DescribeEvery(hid, fake::kVid, fake::kPid);
    }
    d.opens = hid.opens;
    d.transfers = hid.transfers;
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

    // The keyboard is the only collection with reports of the lengths, so
    // both channels take it, on handles opened without access: commands as
    // feature report 5 (9 bytes), chunks as output report 6 (65 bytes) by
    // control request, never written to the interrupt pipe.
    const Decision d = Decide(fake::LayoutFromReport(read));
    ASSERT_FALSE(d.opens.empty()) << d.report;
    for (const fake::OpenCall& o : d.opens) {
        EXPECT_EQ(o.path, keyboard.path);
        EXPECT_EQ(o.access, Access::None);
    }
    ASSERT_EQ(d.transfers.size(), 2u) << d.steps[0];
    EXPECT_EQ(d.transfers[0].path, keyboard.path);
    EXPECT_EQ(d.transfers[0].kind, TransferKind::SetFeature);
    ASSERT_EQ(d.transfers[0].bytes.size(), 9u);
    EXPECT_EQ(d.transfers[0].bytes[0], 5);
    EXPECT_EQ(d.transfers[1].path, keyboard.path);
    EXPECT_EQ(d.transfers[1].kind, TransferKind::SetOutput);
    ASSERT_EQ(d.transfers[1].bytes.size(), 65u);
    EXPECT_EQ(d.transfers[1].bytes[0], 6);
    EXPECT_NE(d.report.find("command channel " + keyboard.path + ": opened without access"),
              std::string::npos)
        << d.report;
}

// The virtual mouse takes commands as 8-byte feature reports and chunks as
// 64-byte output reports on its one collection; its report, read back as a
// user's would be, must make the channels choose just that, with the
// built-in description and with one that moves the event report.
TEST(DeviceReport, TheVirtualMousesReportRebuildsToTheChoiceItStandsFor) {
    DescriptionLoad moved;
    moved.description.event.reportId = 0x21;
    moved.description.event.length = 12;
    for (const DescriptionLoad& description : {DescriptionLoad{}, moved}) {
        const std::string text =
            VirtualMouseReport(description, fake::kVid, fake::kPid, "command channel: virtual\r\n");
        const ReportLayout read = ParseDeviceReport(text);
        EXPECT_TRUE(read.unreadable.empty()) << read.unreadable.front();
        ASSERT_EQ(read.collections.size(), 1u) << text;
        const CollectionInfo& mouse = read.collections[0];
        EXPECT_EQ(mouse, VirtualMouseCollection(description.description, fake::kVid, fake::kPid));
        const std::uint8_t eventId = description.description.event.reportId.value_or(0);
        EXPECT_EQ(mouse.input.reports,
                  (std::vector<ReportLength>{{eventId, description.description.event.length}}));

        const Decision d = Decide(fake::LayoutFromReport(read));
        ASSERT_EQ(d.transfers.size(), 2u) << d.report;
        EXPECT_EQ(d.transfers[0].path, mouse.path);
        EXPECT_EQ(d.transfers[0].kind, TransferKind::SetFeature);
        EXPECT_EQ(d.transfers[0].bytes.size(), 9u);
        EXPECT_EQ(d.transfers[1].path, mouse.path);
        EXPECT_EQ(d.transfers[1].kind, TransferKind::Output);
        EXPECT_EQ(d.transfers[1].bytes.size(), 65u);
    }
}

}  // namespace
}  // namespace korrin
