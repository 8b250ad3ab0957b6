#include "option/skin/themed_controls_win.h"

#include <commctrl.h>

#include "common/win/late_function_win.h"
#include "common/win/program_folder_win.h"
#include "common/win/wide_text_win.h"
#include "option/skin/modal_loop_win.h"

namespace skin {
namespace {

// The resource number of the manifest that asks for the themed controls
// (resource 1 is the process manifest).
constexpr WORD kThemedManifest = 2;

// The activation context of that manifest, made once and kept for the life of
// the process; INVALID_HANDLE_VALUE when the program has no such manifest
// (the system then serves its plain controls).
HANDLE ThemedContext() {
    static const HANDLE context = [] {
        const std::wstring path = win::ModulePathWide(nullptr);
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
        request.lpSource = path.empty() ? nullptr : path.c_str();
        request.lpResourceName = MAKEINTRESOURCEW(kThemedManifest);
        request.hModule = GetModuleHandleW(nullptr);
        return CreateActCtxW(&request);
    }();
    return context;
}

}  // namespace

ThemedControls::ThemedControls() {
    const HANDLE context = ThemedContext();
    active_ = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie_) != FALSE;
}

ThemedControls::~ThemedControls() {
    if (active_)
        DeactivateActCtx(0, cookie_);
}

bool ThemedControls::Load() {
    // Loaded inside the context, so that it is the themed library.
    static const bool loaded = [] {
        const ThemedControls themed;
        using Init = BOOL WINAPI(const INITCOMMONCONTROLSEX*);
        auto* const init = win::LateFunction<Init>("comctl32.dll", "InitCommonControlsEx");
        const INITCOMMONCONTROLSEX classes{sizeof classes,
                                           ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        return init != nullptr && init(&classes) != FALSE;
    }();
    return loaded;
}

int ThemedMessageBox(HWND owner, const std::string& text, const char* caption, UINT type) {
    const ThemedControls themed;
    const ModalLoopScope loop;
    const std::wstring title = caption != nullptr ? win::Widen(caption, CP_UTF8) : std::wstring();
    return MessageBoxW(owner, win::Widen(text, CP_UTF8).c_str(),
                       caption != nullptr ? title.c_str() : nullptr, type);
}

int ThemedMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    const ThemedControls themed;
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

}  // namespace skin
