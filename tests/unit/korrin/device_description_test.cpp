// The device description: a file overrides the built-in one key by key, a
// damaged file is refused whole with one line, and its channel preferences
// rank the device's candidates.
#include "korrin/device_description.h"

#include <gtest/gtest.h>

#include "korrin/channel_plan.h"
#include "korrin/hid_device.h"
#include "tests/unit/korrin/fake_hid.h"

namespace korrin {
namespace {

constexpr const char* kFile = R"(C:\mouse\korrin-device.ini)";

TEST(DeviceDescription, EveryKeyWithTodaysValuesIsTheBuiltInDescription) {
    const char* text =
        "\xEF\xBB\xBF; every key, as the library assumes without a file\r\n"
        "[Device]\r\nVendorId = client\r\nProductId = client\r\n"
        "[Commands]\r\nUsagePage = any\r\nReportId = any\r\nReadBackId = none\r\n"
        "[Chunks]\r\nReport = any\r\nUsagePage = any\r\nReportId = any\r\n"
        "[Events]\r\nReportId = any\r\nUsagePage = vendor\r\nLength = 6\r\n"
        "TagOffset = 1\r\nTagSize = 1\r\nTagMask = 0xFF\r\nTagValue = 0xE7\r\n"
        "CategoryOffset = 2\r\nCategorySize = 2\r\nCategoryMask = 0xFFFF\r\n"
        "DataOffset = 4\r\nDataSize = 2\r\nDataMask = 0xFFFF\r\n";
    const DescriptionLoad load = ParseDescription(text, kFile);
    EXPECT_EQ(load.problem, "");
    EXPECT_EQ(load.source, kFile);
    EXPECT_EQ(load.description, DeviceDescription{});

    // Keys override one by one; the rest stays built-in.
    const DescriptionLoad some = ParseDescription(
        "[device]\nvendorid = 0x1234\nProductId = 4660\n[Commands]\nReadBackId = 3\n"
        "[Chunks]\nReport = feature\n[Events]\nCategory.0x01 = 0x4000\nCategory.2 = 0xA000\n",
        kFile);
    ASSERT_EQ(some.problem, "");
    DeviceDescription expected;
    expected.vendorId = 0x1234;
    expected.productId = 0x1234;
    expected.readBackId = 3;
    expected.chunk.report = ChunkReport::Feature;
    expected.event.categories = {{0x01, 0x4000}, {0x02, 0xA000}};
    EXPECT_EQ(some.description, expected);
}

TEST(DeviceDescription, ADamagedFileIsRefusedWholeWithOneLineNamingFileAndProblem) {
    const struct {
        std::string_view text;
        const char* problem;
    } cases[] = {
        {"[Events]\nLength = 8\nColour = red\n", "line 3: unknown key Colour in [Events]"},
        {"[Events]\nCategoryOffset = two\n", "line 2: CategoryOffset = two: not a number"},
        {"[Events]\nCategoryOffset = 5\n",
         "CategoryOffset 5 with CategorySize 2 lies beyond the report length 6"},
        {"[Events]\nDataMask = 0\n", "DataMask is zero"},
        {"[Events]\nDataMask = 0x0F0F\n", "DataMask is not one run of bits"},
        {"[Events]\nCategory.1 = 0x4000\nCategory.0x01 = 0x5000\n",
         "Category.0x0001 is mapped twice"},
        {"[Events]\nCategory.1 = 0x4000\nCategory.2 = 0x4000\n",
         "Category.0x0001 and Category.0x0002 both give 0x4000"},
        {"[Events]\nTagOffset = 2\n", "Tag and Category share bits of byte 2"},
        {"[Events]\nTagValue = 0x1E7\n", "TagValue does not fit in TagMask"},
        {"[Events]\nReportId = 256\n", "line 2: ReportId = 256: neither \"any\" nor a number"},
        {"[Events]\nLength = 8\nlength = 9\n", "line 3: [Events] length is given twice"},
        {"[Device]\nVendorId = 0x04D9\n", "VendorId and ProductId are given only together"},
        {"[Keyboard]\n", "line 1: unknown section [Keyboard]"},
        {"Length = 8\n", "line 1: key Length before any section"},
        {"[Chunks]\nReport = interrupt\n", "Report = interrupt: not one of any, output, feature"},
        {std::string_view("[Events]\nLength = 8\0\n", 21), "line 2: a NUL byte"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        const DescriptionLoad load = ParseDescription(c.text, kFile);
        EXPECT_EQ(load.description, DeviceDescription{});
        EXPECT_EQ(load.source, "built-in");
        EXPECT_EQ(load.problem.rfind(kFile, 0), 0u) << load.problem;
        EXPECT_NE(load.problem.find(c.problem), std::string::npos) << load.problem;
        EXPECT_NE(load.problem.find("the built-in description is used"), std::string::npos);
        EXPECT_EQ(load.problem.find('\n'), std::string::npos);
    }

    // The device report carries the line, even with no device to show.
    fake::FakeHid hid({});
    fake::MemorySink sink;
    CaptureLog log(sink, [&] { return hid.NowMs(); });
    fake::MemoryStore store;
    const DescriptionLoad refused = ParseDescription("[Events]\nDataMask = 0\n", kFile);
    HidDevice device(hid, log, store, {}, refused);
    device.SetIds(fake::kVid, fake::kPid);
    EXPECT_EQ(device.Report(), "device description: " + refused.problem + "\r\n");
    HidDevice builtIn(hid, log, store);
    builtIn.SetIds(fake::kVid, fake::kPid);
    EXPECT_EQ(builtIn.Report(), "");
}

TEST(DeviceDescription, PreferredChannelsRankAfterTheRememberedChoice) {
    auto layout = fake::LayoutB();
    // The vendor collection offers chunks as a feature report too (id 8).
    layout[3].info.feature = {65, {{5, 9}, {8, 65}}};
    std::vector<CollectionInfo> collections;
    for (const auto& c : layout) collections.push_back(c.info);

    ChannelPreference feature;
    feature.report = ChunkReport::Feature;
    EXPECT_EQ(RankCandidates(collections, Role::Chunk).front().kind, TransferKind::Output);
    const auto preferred = RankCandidates(collections, Role::Chunk, {}, feature);
    EXPECT_EQ(preferred.front().kind, TransferKind::SetFeature);
    EXPECT_EQ(preferred.front().reportId, 8);
    const RememberedChoice worked{"mi_01", "col03", 0xFF00, 0x0001, TransferKind::Output, 6};
    EXPECT_EQ(RankCandidates(collections, Role::Chunk, worked, feature).front().kind,
              TransferKind::Output);

    // A preferred report id is taken wherever it holds the payload.
    ChannelPreference longId;
    longId.reportId = 8;
    EXPECT_EQ(RankCandidates(collections, Role::Command).front().reportId, 5);
    EXPECT_EQ(RankCandidates(collections, Role::Command, {}, longId).front().reportId, 8);
}

}  // namespace
}  // namespace korrin
