// The text of the diagnostics report a user saves from the tray and sends
// with a fault report: what the program, the system and the library know
// about the mouse, Monitor's last log lines and the last capture. It never
// holds settings contents: names of profiles, macros and programs that might
// still appear in a text it quotes are blanked out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/settings/settings_block.h"

namespace device {

struct DiagnosticsFacts {
    std::string programVersion;
    // Whether a Monitor runs and which process wrote the report.
    std::string monitorState;
    // Empty: the library is not loaded.
    std::string libraryVersion;
    std::string windowsVersion;
    int displayScalePercent = 100;
    bool mousePresent = false;
    // False when the writer could not look (another process holds the mouse).
    bool mouseStateKnown = true;
    // The library can record captures and describe the mouse.
    bool diagnosticsAvailable = false;
    // The library's description of the mouse (CRLF lines); empty when it
    // knows nothing.
    std::string deviceReport;
    std::vector<std::string> logLines;
    // Empty when there is no capture.
    std::string capturePath;
    std::string captureText;
    // Only the head and the end of a longer capture are in captureText.
    bool captureCut = false;
    // The newest crash dump in the logs folder; an empty name when there is
    // none.
    std::string crashDumpName;
    std::uint64_t crashDumpBytes = 0;
    std::string crashDumpWritten;  // local time, "YYYY-MM-DD HH:MM:SS"
};

// The names that must not leave the computer: profile names, game programs,
// macro names and launched programs (whole paths and their file names).
std::vector<std::string> PrivateNames(const settings::SettingsBlock& block);

// The lines of `deviceReport` that name the channels the library chose, and
// the one that says it refused a device description file.
std::vector<std::string> ChannelLines(const std::string& deviceReport);

// The report as CRLF text, in sections: program, system, mouse, interfaces,
// chosen channels, crash dumps, Monitor's log, last capture.
std::string BuildDiagnosticsReport(const DiagnosticsFacts& facts,
                                   const std::vector<std::string>& privateNames);

}  // namespace device
