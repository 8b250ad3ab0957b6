// A crashing program leaves a minidump in the logs folder beside it, lets go
// of what it holds first, ends without the system's crash dialog, and keeps
// only its newest dumps, leaving other programs' dumps alone.
#include "common/win/crash_dump_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/win/scoped_win.h"
#include "tests/support/program_folder_win.h"

namespace {

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// A folder of its own in the temporary folder, removed afterwards.
class ProbeFolder {
  public:
    ProbeFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ =
            std::wstring(temp) + L"crash probe " + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ProbeFolder() {
        for (const std::wstring& name : Files(L"logs\\*"))
            DeleteFileW((path_ + L"logs\\" + name).c_str());
        RemoveDirectoryW((path_ + L"logs").c_str());
        DeleteFileW((path_ + L"CrashProbe.exe").c_str());
        RemoveDirectoryW(path_.c_str());
    }
    const std::wstring& Path() const { return path_; }
    // File names matching `pattern` (relative to the folder), sorted.
    std::vector<std::wstring> Files(const std::wstring& pattern) const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data{};
        win::ScopedFind find(FindFirstFileW((path_ + pattern).c_str(), &data));
        if (!find)
            return names;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                names.push_back(data.cFileName);
        } while (FindNextFileW(find.Get(), &data));
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string Head(const std::wstring& relative, DWORD bytes) const {
        win::ScopedFileHandle file(CreateFileW((path_ + relative).c_str(), GENERIC_READ,
                                               FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
        std::string text(bytes, '\0');
        DWORD read = 0;
        if (!file || !ReadFile(file.Get(), text.data(), bytes, &read, nullptr))
            return {};
        text.resize(read);
        return text;
    }

  private:
    std::wstring path_;
};

// Runs the probe to its end; its exit code, or 0 when it did not end.
DWORD RunProbe(const std::wstring& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring line = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return 0;
    win::ScopedHandle process(info.hProcess);
    win::ScopedHandle thread(info.hThread);
    // A crash dialog would keep the probe from ending: that is a failure.
    if (WaitForSingleObject(process.Get(), 180000) != WAIT_OBJECT_0)
        return 0;
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    return code;
}

TEST(CrashDump, ACrashLeavesASmallDumpAndOnlyTheNewestThreeAreKept) {
    const std::string bin = testsupport::TestBinFolder();
    ASSERT_FALSE(bin.empty()) << "MOUSE_TEST_BIN is not set";
    ProbeFolder folder;
    const std::wstring exe = folder.Path() + L"CrashProbe.exe";
    ASSERT_TRUE(CopyFileW(Wide(bin + "crash_probe.exe").c_str(), exe.c_str(), FALSE));
    // Three dumps of earlier crashes and another program's dump, all older
    // than any new one.
    CreateDirectoryW((folder.Path() + L"logs").c_str(), nullptr);
    const std::wstring other = L"logs\\Monitor-20000101-000000-000.dmp";
    const std::wstring earlier[] = {L"logs\\CrashProbe-20000101-000000-001.dmp",
                                    L"logs\\CrashProbe-20000101-000000-002.dmp",
                                    L"logs\\CrashProbe-20000101-000000-003.dmp"};
    WORD minute = 0;
    for (const std::wstring& name : {other, earlier[0], earlier[1], earlier[2]}) {
        win::ScopedFileHandle file(CreateFileW((folder.Path() + name).c_str(), GENERIC_WRITE, 0,
                                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                               nullptr));
        ASSERT_TRUE(file.Valid());
        FILETIME old{};
        SYSTEMTIME at{2000, 1, 6, 1, 0, ++minute, 0, 0};
        SystemTimeToFileTime(&at, &old);
        SetFileTime(file.Get(), nullptr, nullptr, &old);
    }

    // The fourth crash: under Wine a dump takes seconds, so one real crash
    // stands for the three before it.
    EXPECT_EQ(RunProbe(exe), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_FALSE(folder.Files(L"logs\\released.txt").empty()) << "the release callback did not run";
    const std::vector<std::wstring> dumps = folder.Files(L"logs\\CrashProbe-*.dmp");
    ASSERT_EQ(dumps.size(), static_cast<std::size_t>(win::kKeptCrashDumps));
    EXPECT_EQ(dumps[0], earlier[1].substr(5)) << "not the oldest dump was deleted";
    EXPECT_EQ(folder.Head(L"logs\\" + dumps.back(), 4), "MDMP");
    EXPECT_FALSE(folder.Files(other).empty()) << "another program's dump was deleted";

    // What the diagnostics report lists: the newest dump, whole.
    win::CrashDumpFile latest;
    ASSERT_TRUE(win::LatestCrashDump(folder.Path() + L"logs", latest));
    EXPECT_EQ(Wide(latest.name), dumps.back());
    EXPECT_GT(latest.size, 64u);
    EXPECT_LT(latest.size, 8u * 1024 * 1024) << "not a small dump";
}

}  // namespace
