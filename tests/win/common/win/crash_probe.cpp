// A program that crashes on purpose with the crash dumps installed as the
// shipped programs install them: its dump goes to "logs" beside it, and the
// release callback leaves "released.txt" there to show that it ran first.
#include <windows.h>

#include "common/win/crash_dump_win.h"
#include "common/win/scoped_win.h"

namespace {

void MarkReleased() {
    const std::wstring folder = win::LogsFolderW();
    CreateDirectoryW(folder.c_str(), nullptr);
    win::ScopedFileHandle file(CreateFileW((folder + L"\\released.txt").c_str(), GENERIC_WRITE, 0,
                                           nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

int main() {
    win::InstallCrashDumps(L"CrashProbe", MarkReleased);
    // A volatile write through a pointer the compiler cannot see is null,
    // so that the write is kept.
    int* volatile nowhere = nullptr;
    *static_cast<volatile int*>(nowhere) = 1;
    return 0;
}
