// The system functions that only a click needs (the file dialogs, the shell),
// looked up in their libraries at the first call instead of being imported:
// a library imported is loaded, with all it imports, before Option's first
// line runs, and under Wine these two cost more of the start than anything
// but the skins. Same arguments and results as the system's own; when the
// library or the function cannot be had, the failure result.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace option::late {

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn);
BOOL GetSaveFileNameW(OPENFILENAMEW* ofn);
HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* folder, int show);
HRESULT SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, char* path);

}  // namespace option::late
