// Starting and ending the programs a benchmark measures.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"

namespace bench {

// An environment variable's value; empty when it is not set.
std::string Env(const char* name);

// Starts `exe` (quoted) with `arguments`, in `folder` (the benchmark's own
// current folder when empty). The process, or an empty owner when it did not
// start.
win::ScopedHandle StartProgram(const std::string& exe, const std::string& arguments = {},
                               const std::string& folder = {});

// Gives the process `timeoutMs` to end on its own, then ends it; true when it
// ended on its own.
bool EndWithin(HANDLE process, DWORD timeoutMs);

}  // namespace bench
