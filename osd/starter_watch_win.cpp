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

Starter OpenStarter() {
    Starter starter;
    const DWORD parent = ParentProcessId();
    if (parent == 0)
        return starter;
    starter.process.Reset(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parent));
    if (!starter.process) {
        // No process has that id any more; any other failure (access)
        // leaves the starter unknown.
        if (GetLastError() == ERROR_INVALID_PARAMETER)
            starter.state = Starter::State::Gone;
        return starter;
    }
    // The id may already belong to a newer process: the real starter was
    // created before us. One that has ended but is still held open by
    // somebody is signalled at once.
    const ULONGLONG created = CreationTime(starter.process.Get());
    if (created == 0) {
        starter.process.Reset();
        return starter;
    }
    if (created > CreationTime(GetCurrentProcess()) ||
        WaitForSingleObject(starter.process.Get(), 0) == WAIT_OBJECT_0) {
        starter.process.Reset();
        starter.state = Starter::State::Gone;
        return starter;
    }
    starter.state = Starter::State::Running;
    return starter;
}

}  // namespace osd
