#include "option/late_system_calls_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include "common/win/late_function_win.h"
#include "option/skin/themed_controls_win.h"

namespace option::late {
// Each system window comes with the themed controls, and the library behind
// it is loaded inside that context the first time, so that it links to them.
BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) {
    const skin::ThemedControls themed;
    static auto* const call =
        win::LateFunction<decltype(::GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    win::NeedOle();
    return call != nullptr ? call(ofn) : FALSE;
}

BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) {
    const skin::ThemedControls themed;
    static auto* const call =
        win::LateFunction<decltype(::GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA");
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

HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* folder, int show) {
    const skin::ThemedControls themed;
    static auto* const call =
        win::LateFunction<decltype(::ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    if (call == nullptr)
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
    win::NeedOle();
    return call(owner, verb, file, parameters, folder, show);
}

HRESULT SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, char* path) {
    const skin::ThemedControls themed;
    static auto* const call =
        win::LateFunction<decltype(::SHGetFolderPathA)>("shell32.dll", "SHGetFolderPathA");
    return call != nullptr ? call(owner, folder, token, flags, path) : E_FAIL;
}

}  // namespace option::late
