// Small process-wide helpers every program of ours uses.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// Drive and directory of the running executable, with a trailing backslash.
std::string ProgramFolder();

// OutputDebugString with printf formatting; the texts are fixed by callers.
void DebugText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace win
