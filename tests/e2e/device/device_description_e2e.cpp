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
    // With `description` beside the library and the virtual mouse, a profile
    // switch on the mouse reaches Monitor (it publishes the profile); the
    // bytes of the one input report that carried it, as the traffic log has
    // them.
    std::vector<std::string> SwitchWith(const std::string& description) {
        std::ofstream(folder_.File("korrin-device.ini"), std::ios::binary) << description;
        VirtualMouseSession mouse(folder_);
        EXPECT_TRUE(mouse.Running());
        EXPECT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
        EXPECT_TRUE(
            WaitUntil([&] { return VirtualMouseSession::FullUploadDone(mouse.Log()); }, 30s));
        EXPECT_EQ(mouse.Command("/event profile:3"), 0);
        auto block = std::make_unique<settings::SettingsBlock>();
        EXPECT_TRUE(
            WaitUntil([&] { return ReadSharedBlock(*block) && block->currentProfile == 2; }, 20s));
        std::vector<std::vector<std::string>> reports;
        for (const std::string& record : mouse.Log()) {
            if (record.rfind("EVENT_REPORT ", 0) != 0)
                continue;
            reports.emplace_back();
            for (std::size_t at = 13; at + 2 <= record.size(); at += 3)
                reports.back().push_back(record.substr(at, 2));
        }
        EXPECT_EQ(reports.size(), 1u);
        return reports.empty() ? std::vector<std::string>() : reports.front();
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
    const auto report = SwitchWith(
        "[Events]\r\nReportId = 0x21\r\nLength = 12\r\nTagOffset = 3\r\nTagValue = 0x5A\r\n"
        "CategoryOffset = 6\r\nDataOffset = 9\r\n");
    ASSERT_EQ(report.size(), 12u);
    EXPECT_EQ(report[0], "21");
    EXPECT_EQ(report[3], "5A");
    EXPECT_EQ(report[6], "70") << "the category where the file puts it";
    // The library took the file, and said so once.
    const auto named = DescriptionLines();
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].find("built-in"), std::string::npos) << named[0];
}

TEST_F(DescriptionFile, ADamagedFileIsSaidOnceAndChangesNothing) {
    // Both sides fall back to the built-in framing: id 0, tag E7 in byte 1.
    EXPECT_EQ(SwitchWith("[Events]\r\nReportId = 0x21\r\nTagOffset = 0\r\n"),
              (std::vector<std::string>{"00", "E7", "70", "00", "00", "03"}));
    const auto named = DescriptionLines();
    ASSERT_EQ(named.size(), 1u);
    EXPECT_NE(named[0].find("the built-in description is used"), std::string::npos) << named[0];
}

}  // namespace
}  // namespace e2e
