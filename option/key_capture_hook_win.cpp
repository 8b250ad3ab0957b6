#include "option/key_capture_hook_win.h"

#include "common/trace_points.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"

namespace option {
namespace {

// One hook and one target per process; both are touched only on the
// user-interface thread (the hook procedure runs there, through its loop).
win::ScopedHook g_hook;
HWND g_target = nullptr;
CapturedKeys g_keys = CapturedKeys::All;

// A dialog's key field passes Shift on, so that Shift+Tab walks back. Its
// press is held back until it is clear what it belongs to: Shift alone
// (released with nothing between) becomes the key, Shift with another key
// goes to the field before that key, and Shift+Tab is the dialog's alone, so
// walking back never changes the key. A release whose press came before the
// capture started (Shift+Tab into the field) is not the field's either.
enum class HeldShift { None, Held, Posted, Spent };
HeldShift g_shift = HeldShift::None;
DWORD g_shiftKey = VK_LSHIFT;

bool IsShift(DWORD key) {
    return key == VK_LSHIFT || key == VK_RSHIFT || key == VK_SHIFT;
}

void PostKey(DWORD key, bool released) {
    PostMessageA(g_target, kMsgCapturedKey, key, released ? LLKHF_UP : 0);
}

// Dialog capture: true when the key is passed on to the dialog.
bool DialogCaptureTakes(DWORD key, bool released) {
    if (IsShift(key)) {
        if (!released) {
            if (g_shift == HeldShift::None) {
                g_shift = HeldShift::Held;
                g_shiftKey = key;
            }
            return true;
        }
        if (g_shift == HeldShift::Held)
            PostKey(key, false);
        if (g_shift == HeldShift::Held || g_shift == HeldShift::Posted)
            PostKey(key, true);
        g_shift = HeldShift::None;
        return true;
    }
    if (key == VK_TAB || key == VK_ESCAPE) {
        if (g_shift == HeldShift::Held)
            g_shift = HeldShift::Spent;
        return true;
    }
    if (g_shift == HeldShift::Held) {
        PostKey(g_shiftKey, false);
        g_shift = HeldShift::Posted;
    }
    PostKey(key, released);
    return false;
}

LRESULT CALLBACK KeyHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0)
        return CallNextHookEx(g_hook.Get(), code, wParam, lParam);
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    win::DebugText("%x\n", static_cast<unsigned>(event->vkCode));
    const bool released = (event->flags & LLKHF_UP) != 0;
    if (g_keys == CapturedKeys::ButDialogKeys) {
        if (DialogCaptureTakes(event->vkCode, released))
            return CallNextHookEx(g_hook.Get(), code, wParam, lParam);
        return 1;
    }
    PostKey(event->vkCode, released);
    // Swallowed: the key belongs to the capture, not to other programs.
    return 1;
}

}  // namespace

bool InstallKeyHook(HWND target, CapturedKeys keys) {
    RemoveKeyHook();
    g_target = target;
    g_keys = keys;
    g_shift = HeldShift::None;
    g_hook.Reset(SetWindowsHookExA(WH_KEYBOARD_LL, &KeyHookProc, GetModuleHandleA(nullptr), 0));
    win::DebugText("Hhook: %x\r\n",
                   static_cast<unsigned>(reinterpret_cast<UINT_PTR>(g_hook.Get())));
    return g_hook.Valid();
}

void RemoveKeyHook() {
    if (!g_hook)
        return;
    win::DebugText("Hhook: %x\r\n",
                   static_cast<unsigned>(reinterpret_cast<UINT_PTR>(g_hook.Get())));
    const bool removed = g_hook.Free();
    win::DebugText(removed ? trace::kKeyHookRemoved : trace::kKeyHookNotRemoved);
    g_target = nullptr;
}

bool KeyHookInstalled() {
    return g_hook.Valid();
}

}  // namespace option
