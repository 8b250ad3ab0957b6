#include "option/late_system_calls_win.h"

#include <shellapi.h>
#include <shlobj.h>

namespace option::late {
namespace {

// The function `name` of `library`, loaded at the first call and kept for
// the rest of the process; null when either is missing.
template <typename Function>
Function* Find(const char* library, const char* name) {
    HMODULE module = LoadLibraryA(library);
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) {
    static auto* const call =
        Find<decltype(::GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    return call != nullptr ? call(ofn) : FALSE;
}

BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) {
    static auto* const call =
        Find<decltype(::GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA");
    return call != nullptr ? call(ofn) : FALSE;
}

HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* folder, int show) {
    static auto* const call = Find<decltype(::ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    if (call == nullptr)
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
    return call(owner, verb, file, parameters, folder, show);
}

HRESULT SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, char* path) {
    static auto* const call = Find<decltype(::SHGetFolderPathA)>("shell32.dll", "SHGetFolderPathA");
    return call != nullptr ? call(owner, folder, token, flags, path) : E_FAIL;
}

}  // namespace option::late
