// Monitor.exe /report PATH, when the report is needed most: without a
// running Monitor (and without the mouse) it writes the report itself and
// leaves no Monitor behind; with one running, the report is that Monitor's,
// holding its state. A path that cannot be written ends with 1. Paths are
// Unicode throughout.
#include <gtest/gtest.h>

#include <string>

#include "common/protocol.h"
#include "common/settings/ini_file_win.h"
#include "common/settings/settings_files.h"
#include "common/win/scoped_win.h"
#include "tests/e2e/runtime/runtime_fixture_win.h"

namespace e2e {
namespace {

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// Runs Monitor.exe with `arguments` to its end, started with the wide
// functions so that the arguments keep every character; the exit code, or
// -1 when it did not end in time.
long RunMonitor(const std::wstring& exe, const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    win::ScopedHandle process(info.hProcess);
    win::ScopedHandle thread(info.hThread);
    if (WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    return static_cast<long>(code);
}

std::string ReadWide(const std::wstring& path) {
    win::ScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::string text(1 << 20, '\0');
    DWORD read = 0;
    ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    text.resize(read);
    return text;
}

bool MonitorInstanceExists() {
    return win::ScopedHandle(OpenMutexA(SYNCHRONIZE, FALSE, protocol::kMonitorInstanceMutex))
        .Valid();
}

class MonitorReportE2E : public RuntimeE2E {
  protected:
    std::wstring Exe() const { return Wide(folder_.File("Monitor.exe")); }
    // A file name beyond any code page: Greek, CJK and a blank.
    std::wstring ReportPath() const {
        return Wide(folder_.Path()) + L"r\u00e9port \u03a9\u6587.txt";
    }
    std::wstring Unwritable() const { return Wide(folder_.Path()) + L"no such folder\\r.txt"; }
};

TEST_F(MonitorReportE2E, WithoutMonitorOrMouseTheReportIsWrittenAndNoMonitorStays) {
    settings::SystemSettingsFiles files(folder_.Path());
    ASSERT_TRUE(settings::SaveAll(files.Files(), nullptr, Block()));
    ASSERT_FALSE(MonitorInstanceExists()) << "a Monitor of another test still runs";
    // A dump an earlier crash left: the report names it.
    CreateDirectoryA(folder_.File("logs").c_str(), nullptr);
    {
        win::ScopedFileHandle dump(
            CreateFileA(folder_.File("logs\\Option-20240131-142501-123.dmp").c_str(), GENERIC_WRITE,
                        0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(dump.Get(), "MDMP....", 8, &written, nullptr));
    }

    EXPECT_EQ(RunMonitor(Exe(), L"/report \"" + ReportPath() + L"\""), 0);
    const std::string report = ReadWide(ReportPath());
    EXPECT_NE(report.find("Monitor state: not running"), std::string::npos) << report;
    EXPECT_NE(report.find("Present: no"), std::string::npos) << report;
    EXPECT_NE(report.find("Latest: Option-20240131-142501-123.dmp"), std::string::npos) << report;
    EXPECT_NE(report.find("Size: 8 bytes"), std::string::npos) << report;
    EXPECT_EQ(MonitorWindow(), nullptr) << "the report left a Monitor running";
    EXPECT_FALSE(MonitorInstanceExists()) << "the report left a Monitor running";

    EXPECT_EQ(RunMonitor(Exe(), L"-REPORT \"" + Unwritable() + L"\""), 1);
    EXPECT_EQ(MonitorWindow(), nullptr);
}

TEST_F(MonitorReportE2E, TheRunningMonitorWritesItsOwnReport) {
    Start();
    EXPECT_EQ(RunMonitor(Exe(), L"/report \"" + ReportPath() + L"\""), 0);
    const std::string report = ReadWide(ReportPath());
    EXPECT_NE(report.find("Monitor state: running (report written by it)"), std::string::npos)
        << report;
    EXPECT_NE(report.find("Present: yes"), std::string::npos) << report;
    EXPECT_NE(report.find("Monitor started"), std::string::npos) << "its log is in it";

    // The running Monitor cannot write there either; it says so.
    EXPECT_EQ(RunMonitor(Exe(), L"/report \"" + Unwritable() + L"\""), 1);
    EXPECT_EQ(CountWindowsTitled(kMonitorTitle), 1);
    EXPECT_FALSE(monitor_.Exited());
}

// A shortcut or Run entry with an argument of another version (or one the
// user added) still starts the mouse software; the log says what was passed
// over.
TEST_F(MonitorReportE2E, AnUnknownArgumentStartsMonitorNormally) {
    settings::SystemSettingsFiles files(folder_.Path());
    ASSERT_TRUE(settings::SaveAll(files.Files(), nullptr, Block()));
    ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe"), "/startup"));
    ASSERT_TRUE(WaitUntil([this] { return MonitorWindow() != nullptr; }))
        << "Monitor refused the argument; exit code " << monitor_.WaitExit(std::chrono::seconds(1));
    EXPECT_TRUE(WaitUntil([this] {
        return folder_.ReadText("logs\\monitor.log").find("unknown argument \"/startup\"") !=
               std::string::npos;
    })) << folder_.ReadText("logs\\monitor.log");
}

}  // namespace
}  // namespace e2e
