// What a program of ours leaves behind when it crashes: a small minidump in
// the "logs" folder beside it, named after the program and the moment
// ("Monitor-20240131-142501-123.dmp"), so that a fault report can carry it.
// Only the newest few dumps of each program are kept. Before the dump is
// written the program gets one chance to let go of what it holds outside
// itself (keys held down on the user's behalf).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace win {

// Dumps kept per program; older ones are deleted after each new dump.
inline constexpr int kKeptCrashDumps = 3;

// Called on a crash, on a thread of its own, before the dump is written. It
// must be quick and must not rely on the heap or on locks the crashed thread
// may hold.
using CrashRelease = void (*)();

// Installs the process's unhandled-exception filter. `programName` (ASCII
// letters, at most 32) names the dumps; the program folder is taken now, so
// the filter itself only formats into fixed buffers. Call once, early.
void InstallCrashDumps(const wchar_t* programName, CrashRelease release = nullptr);

struct CrashDumpFile {
    std::string name;  // file name only
    std::uint64_t size = 0;
    FILETIME written{};
};

// The newest dump in `logsFolder` (any program's); false when there is none.
bool LatestCrashDump(const std::wstring& logsFolder, CrashDumpFile& latest);

// "<program folder>logs" (no trailing separator) of the running program.
std::wstring LogsFolderW();

}  // namespace win
