// The support page's diagnostics report, as a user with a missing mouse
// saves it: no Monitor runs, so Monitor.exe /report writes it and ends.
#include <gtest/gtest.h>

#include <string>

#include "common/text_format.h"
#include "common/trace_points.h"
#include "tests/e2e/option/option_driver_win.h"

namespace {

constexpr int kKeyPage1 = 25;
constexpr int kSupportPage = 3;
constexpr int kReportButtonId = 1002;
constexpr const char* kMonitorTitle = "Professional Gaming Optical Mouse Monitor";

TEST(SupportPage, SavesTheDiagnosticsReportWhereTheUserChoosesWithoutMonitor) {
    e2e::ProgramFolder folder;
    e2e::OptionDriver option(folder);
    ASSERT_TRUE(option.Start());
    option.Click(kKeyPage1 + kSupportPage);
    ASSERT_TRUE(e2e::WaitUntil([&] { return option.PageVisible(kSupportPage); }));
    HWND page = GetDlgItem(option.Window(), 2000 + kSupportPage);
    PostMessageA(GetDlgItem(page, kReportButtonId), BM_CLICK, 0, 0);

    ASSERT_TRUE(option.ChooseFile(folder.File("saved report.txt")));
    ASSERT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kSupportReportSaved, 1)));
    const std::string report = folder.ReadText("saved report.txt");
    EXPECT_NE(report.find("== Program =="), std::string::npos) << report;
    EXPECT_NE(report.find("Monitor state: not running"), std::string::npos) << report;
    // The user is told where it went.
    ASSERT_TRUE(option.Answer(IDOK));
    EXPECT_EQ(FindWindowA(nullptr, kMonitorTitle), nullptr) << "a Monitor was left running";
}

}  // namespace
