#include "osd/starter_watch_win.h"

#include <tlhelp32.h>

namespace osd {

namespace {

DWORD ParentProcessId() {
    win::ScopedFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Process32First(snapshot.Get(), &entry); more;
         more = Process32Next(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == self)
            return entry.th32ParentProcessID;
    }
    return 0;
}

ULONGLONG CreationTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

win::ScopedHandle OpenStarterProcess() {
    const DWORD parent = ParentProcessId();
    if (parent == 0)
        return {};
    win::ScopedHandle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parent));
    if (!process)
        return {};
    // The starter's id may already belong to a newer process: the real
    // starter was created before us.
    const ULONGLONG starter = CreationTime(process.Get());
    if (starter == 0 || starter > CreationTime(GetCurrentProcess()))
        return {};
    return process;
}

}  // namespace osd
