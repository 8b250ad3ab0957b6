// Small process-wide helpers every program of ours uses.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// The full path of a module (nullptr: the executable), "" when unknown.
std::wstring ModulePathWide(HMODULE module);

// Drive and directory of a module, with a trailing backslash, as the ANSI
// calls of this process take it (PathForAnsiCalls): UTF-8 under the UTF-8
// code page, else plain ASCII (the short form where needed). Every path
// built from it is then one those calls open.
std::string ModuleFolder(HMODULE module);

// ModuleFolder of the running executable.
std::string ProgramFolder();

// OutputDebugString with printf formatting; the texts are fixed by callers.
void DebugText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace win
