#include "option/dialogs/modal_dialog_win.h"

#include <algorithm>

#include "common/win/scoped_win.h"

namespace option {
namespace {

// Dialogs run one at a time on the user-interface thread; a nested modal
// dialog starts only after its parent's window exists, so one slot is enough
// as long as each run restores what it found.
thread_local win::Window* t_creating = nullptr;
thread_local win::ScopedHook* t_hook = nullptr;

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT result =
        CallNextHookEx(t_hook != nullptr ? t_hook->Get() : nullptr, code, wParam, lParam);
    if (code == HCBT_CREATEWND && t_creating != nullptr) {
        win::Window* window = t_creating;
        t_creating = nullptr;
        window->Subclass(reinterpret_cast<HWND>(wParam));
        // Its job is done: left in place, every window the dialog makes (its
        // dozens of controls) would pass through it, each call a trip to the
        // window server under Wine.
        if (t_hook != nullptr)
            t_hook->Reset();
    }
    return result;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

INT_PTR RunModalDialog(win::Window& window, HWND owner, int templateId) {
    win::Window* const outerCreating = t_creating;
    win::ScopedHook* const outerHook = t_hook;
    t_creating = &window;
    win::ScopedHook hook(SetWindowsHookExA(WH_CBT, &CreationHook, nullptr, GetCurrentThreadId()));
    t_hook = &hook;
    if (!hook) {
        t_creating = outerCreating;
        t_hook = outerHook;
        return -1;
    }
    // The hook removes itself once the dialog window exists.
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                           owner, &PlainDialogProc, 0);
    hook.Reset();  // unless the hook removed itself already
    t_creating = outerCreating;
    t_hook = outerHook;
    return result;
}

void CentreWindow(HWND hwnd, HWND over) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT around = work;
    if (over != nullptr && !IsIconic(over))
        GetWindowRect(over, &around);
    RECT own{};
    GetWindowRect(hwnd, &own);
    const int w = own.right - own.left;
    const int h = own.bottom - own.top;
    int x = around.left + (around.right - around.left - w) / 2;
    int y = around.top + (around.bottom - around.top - h) / 2;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - w));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - h));
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace option
