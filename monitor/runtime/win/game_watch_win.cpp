#include "monitor/runtime/win/game_watch_win.h"

#include <windows.h>
// tlhelp32.h needs windows.h first.
#include <tlhelp32.h>

#include "common/win/scoped_win.h"

namespace runtime {

namespace {

// Calls `visit` with each running process until it returns true; false when
// the process list cannot be read.
template <typename Visit>
bool VisitProcesses(Visit visit) {
    const win::ScopedFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry)) {
        entry.szExeFile[MAX_PATH - 1] = '\0';
        if (visit(entry))
            break;
    }
    return true;
}

}  // namespace

bool ProcessExeName(unsigned long processId, std::string& name) {
    bool found = false;
    VisitProcesses([&](const PROCESSENTRY32& entry) {
        if (entry.th32ProcessID != processId)
            return false;
        name = entry.szExeFile;
        found = true;
        return true;
    });
    return found;
}

bool ForegroundQueryWin::ProcessRunning(std::string_view exeName) {
    bool running = false;
    const bool listed = VisitProcesses([&](const PROCESSENTRY32& entry) {
        running = SameFileNameIgnoringCase(entry.szExeFile, exeName);
        return running;
    });
    return running || !listed;  // unknown: the game is not taken for ended
}

bool ForegroundQueryWin::ForegroundExeName(std::string& name) {
    const HWND foreground = GetForegroundWindow();
    if (foreground == nullptr)
        return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(foreground, &processId);
    if (processId == 0)
        return false;
    return ProcessExeName(processId, name);
}

}  // namespace runtime
