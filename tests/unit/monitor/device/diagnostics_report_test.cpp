#include "monitor/device/diagnostics_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace device {
namespace {

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(DiagnosticsReport, HasEverySectionAndNoNameFromTheSettings) {
    auto block = std::make_unique<settings::SettingsBlock>();
    *block = {};
    settings::CopyField(block->profiles[1].ProFileName, "Raid Night");
    settings::CopyField(block->profiles[2].GameFile, "C:\\Games\\Arena\\arena3.exe");
    settings::CopyField(block->profiles[0].MacroKeyInfo[5].macroName, "BankLogin");
    settings::CopyField(block->profiles[4].MacroKeyInfo[7].programPath, "D:\\Tools\\vault.exe");
    // Names too short to blank without blanking ordinary text.
    settings::CopyField(block->profiles[3].ProFileName, "1");

    DiagnosticsFacts facts;
    facts.programVersion = "1.12.0.0";
    facts.libraryVersion = "2.0.0.0";
    facts.windowsVersion = "Windows 10.0 build 19045";
    facts.displayScalePercent = 150;
    facts.mousePresent = true;
    facts.diagnosticsAvailable = true;
    facts.deviceReport =
        "interface 0 usage 1/2 report id 1 input 8\r\ncommand channel: interface 1 id 2\r\n"
        "chunk channel: interface 2 id 3 length 65\r\n";
    // Texts the report quotes, as a careless line could leave them.
    facts.logLines = {"12:00:01 arrival", "12:00:02 could not start d:\\tools\\VAULT.EXE",
                      "12:00:03 switched to Raid Night for ARENA3.exe"};
    facts.capturePath = "C:\\Users\\me\\captures\\capture.txt";
    facts.captureText = "00.001 out 02 macro banklogin 40 bytes\r\n";
    facts.monitorState = "running";
    facts.crashDumpName = "Option-20240131-142501-123.dmp";
    facts.crashDumpBytes = 48213;
    facts.crashDumpWritten = "2024-01-31 14:25:01";

    const std::string report = BuildDiagnosticsReport(facts, PrivateNames(*block));

    std::size_t at = 0;
    for (const char* section : {"== Program ==", "== System ==", "== Mouse ==", "== Interfaces ==",
                                "== Chosen channels ==", "== Crash dumps ==", "== Monitor log ==",
                                "== Last capture =="}) {
        const std::size_t found = report.find(section, at);
        ASSERT_NE(found, std::string::npos) << section << " missing or out of order";
        at = found;
    }
    for (const char* fact :
         {"Monitor: 1.12.0.0", "Device library: 2.0.0.0", "Windows: Windows 10.0 build 19045",
          "Display scale: 150 %", "Present: yes", "report id 1 input 8",
          "File: C:\\Users\\me\\captures\\capture.txt", "12:00:01 arrival",
          "Monitor state: running", "Latest: Option-20240131-142501-123.dmp", "Size: 48213 bytes",
          "Written: 2024-01-31 14:25:01"})
        EXPECT_NE(report.find(fact), std::string::npos) << fact;
    const std::size_t channels = report.find("== Chosen channels ==");
    EXPECT_NE(report.find("chunk channel: interface 2 id 3 length 65", channels),
              std::string::npos);

    const std::string lowered = Lowered(report);
    for (const char* name : {"raid night", "arena3", "banklogin", "vault.exe", "\\games\\"})
        EXPECT_EQ(lowered.find(name), std::string::npos) << name << " left in the report";
    EXPECT_NE(report.find("Display scale: 150 %"), std::string::npos)
        << "a one-character profile name blanks nothing";
}

TEST(DiagnosticsReport, TheLogTakesTheChannelLinesAndARefusedDescription) {
    const std::string deviceReport =
        "device description: C:\\p\\korrin-device.ini line 3: unknown key Colour in [Events]; "
        "the built-in description is used\r\n"
        "interface \\\\?\\hid#vid_04d9&pid_ad50&col02: usage page FF00\r\n"
        "command channel: feature report 7, opened read/write\r\n"
        "remembered: none\r\n"
        "recent library lines, oldest first:\r\n"
        "  |       1.250 command channel: candidate 1 of 1 \\\\?\\hid#x, opened read/write\r\n";
    const std::vector<std::string> lines = ChannelLines(deviceReport);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("device description:", 0), 0u);
    EXPECT_EQ(lines[1], "command channel: feature report 7, opened read/write");
}

}  // namespace
}  // namespace device
