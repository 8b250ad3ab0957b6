#include "monitor/runtime/win/game_watch_win.h"

#include <windows.h>
// tlhelp32.h needs windows.h first.
#include <tlhelp32.h>

namespace runtime {

bool ProcessExeName(unsigned long processId, std::string& name) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == processId) {
            entry.szExeFile[MAX_PATH - 1] = '\0';
            name = entry.szExeFile;
            found = true;
            break;
        }
    }
    CloseHandle(snapshot);
    return found;
}

bool ForegroundQueryWin::ProcessRunning(std::string_view exeName) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return true;  // unknown: the game is not taken for ended
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool running = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !running;
         more = Process32Next(snapshot, &entry)) {
        entry.szExeFile[MAX_PATH - 1] = '\0';
        running = SameFileNameIgnoringCase(entry.szExeFile, exeName);
    }
    CloseHandle(snapshot);
    return running;
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
