#include "option/late_system_calls_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include "common/win/late_function_win.h"
#include "option/skin/themed_controls_win.h"

namespace option::late {
// Each system window comes with the themed controls, and the library behind
// it is loaded inside that context the first time, so that it links to them.
BOOL GetOpenFileNameW(OPENFILENAMEW* ofn) {
    const skin::ThemedControls themed;
    static auto* const call =
        win::LateFunction<decltype(::GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
    win::NeedOle();
    return call != nullptr ? call(ofn) : FALSE;
}

BOOL GetSaveFileNameW(OPENFILENAMEW* ofn) {
    const skin::ThemedControls themed;
    static auto* const call =
        win::LateFunction<decltype(::GetSaveFileNameW)>("comdlg32.dll", "GetSaveFileNameW");
    win::NeedOle();
    return call != nullptr ? call(ofn) : FALSE;
}

HINSTANCE ShellExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file,
                        const wchar_t* parameters, const wchar_t* folder, int show) {
    const skin::ThemedControls themed;
    static auto* const call =
        win::LateFunction<decltype(::ShellExecuteW)>("shell32.dll", "ShellExecuteW");
    if (call == nullptr)
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
    win::NeedOle();
    return call(owner, verb, file, parameters, folder, show);
}

HRESULT SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, wchar_t* path) {
    const skin::ThemedControls themed;
    static auto* const call =
        win::LateFunction<decltype(::SHGetFolderPathW)>("shell32.dll", "SHGetFolderPathW");
    return call != nullptr ? call(owner, folder, token, flags, path) : E_FAIL;
}

}  // namespace option::late
