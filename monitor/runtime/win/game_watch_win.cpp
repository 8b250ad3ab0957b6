#include "monitor/runtime/win/game_watch_win.h"

#include <windows.h>
// tlhelp32.h needs windows.h first.
#include <tlhelp32.h>

#include "common/win/scoped_win.h"

namespace runtime {

bool ProcessExeName(unsigned long processId, std::string& name) {
    const win::ScopedFileHandle owned(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!owned)
        return false;
    const HANDLE snapshot = owned.Get();
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
    return found;
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
