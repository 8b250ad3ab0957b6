// A description file beside the library moves the event input report
// (another report id, other offsets): the virtual mouse frames its events by
// the same file, and they reach Monitor as before. A damaged file is said
// once in Monitor's log and changes nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/settings/settings_block.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

class DescriptionFile : public ::testing::Test {
  protected:
    void TearDown() override { EndMonitor(monitor_); }
    void WriteDescription(const std::string& text) {
        std::ofstream(folder_.File("korrin-device.ini"), std::ios::binary) << text;
    }
    // Monitor started with the mouse there, its start-up upload done.
    void StartMonitor(VirtualMouseSession& mouse) {
        ASSERT_TRUE(mouse.Running());
        ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
        ASSERT_TRUE(
            WaitUntil([&] { return VirtualMouseSession::FullUploadDone(mouse.Log()); }, 30s));
    }
    // A profile switch on the mouse reaches Monitor: it publishes the profile.
    static bool SwitchReachesMonitor(VirtualMouseSession& mouse) {
        EXPECT_EQ(mouse.Command("/event profile:3"), 0);
        auto block = std::make_unique<settings::SettingsBlock>();
        return WaitUntil([&] { return ReadSharedBlock(*block) && block->currentProfile == 2; },
                         20s);
    }
    // The bytes of the input reports that carried events, as the traffic log has them.
    static std::vector<std::vector<std::string>> EventReports(VirtualMouseSession& mouse) {
        std::vector<std::vector<std::string>> out;
        for (const std::string& record : mouse.Log()) {
            if (record.rfind("EVENT_REPORT ", 0) != 0)
                continue;
            std::vector<std::string> bytes;
            for (std::size_t at = 13; at + 2 <= record.size(); at += 3)
                bytes.push_back(record.substr(at, 2));
            out.push_back(bytes);
        }
        return out;
    }
    // Monitor's log lines naming the description file.
    std::vector<std::string> DescriptionLines() const {
        std::vector<std::string> out;
        for (const std::string& line : SplitLines(folder_.ReadText("logs\\monitor.log")))
            if (line.find("korrin-device.ini") != std::string::npos)
                out.push_back(line);
        return out;
    }

    ProgramFolder folder_;
    Program monitor_;
};

TEST_F(DescriptionFile, AMovedEventReportReachesMonitorFramedAsTheFileSays) {
    WriteDescription(
        "[Events]\r\nReportId = 0x21\r\nLength = 12\r\nTagOffset = 3\r\nTagValue = 0x5A\r\n"
        "CategoryOffset = 6\r\nDataOffset = 9\r\n");
    VirtualMouseSession mouse(folder_);
    StartMonitor(mouse);
    ASSERT_TRUE(SwitchReachesMonitor(mouse));

    const auto reports = EventReports(mouse);
    ASSERT_EQ(reports.size(), 1u);
    ASSERT_EQ(reports[0].size(), 12u);
    EXPECT_EQ(reports[0][0], "21");
    EXPECT_EQ(reports[0][3], "5A");
    EXPECT_EQ(reports[0][6], "70") << "the category where the file puts it";
    // The library took the file, and said so once.
    const auto named = DescriptionLines();
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].find("built-in"), std::string::npos) << named[0];
}

TEST_F(DescriptionFile, ADamagedFileIsSaidOnceAndChangesNothing) {
    WriteDescription("[Events]\r\nReportId = 0x21\r\nTagOffset = 0\r\n");
    VirtualMouseSession mouse(folder_);
    StartMonitor(mouse);
    ASSERT_TRUE(SwitchReachesMonitor(mouse));

    // Both sides fell back to the built-in framing: id 0, tag E7 in byte 1.
    const auto reports = EventReports(mouse);
    ASSERT_EQ(reports.size(), 1u);
    ASSERT_EQ(reports[0].size(), 6u);
    EXPECT_EQ(reports[0][0], "00");
    EXPECT_EQ(reports[0][1], "E7");
    const auto named = DescriptionLines();
    ASSERT_EQ(named.size(), 1u);
    EXPECT_NE(named[0].find("the built-in description is used"), std::string::npos) << named[0];
}

}  // namespace
}  // namespace e2e
