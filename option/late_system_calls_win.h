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

// Wide: the names chosen, opened and searched may hold any script.
BOOL GetOpenFileNameW(OPENFILENAMEW* ofn);
BOOL GetSaveFileNameW(OPENFILENAMEW* ofn);
HINSTANCE ShellExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file,
                        const wchar_t* parameters, const wchar_t* folder, int show);
HRESULT SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, wchar_t* path);

}  // namespace option::late
