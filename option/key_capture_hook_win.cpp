#include "option/key_capture_hook_win.h"

#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"

namespace option {
namespace {

// One hook and one target per process; both are touched only on the
// user-interface thread (the hook procedure runs there, through its loop).
win::ScopedHook g_hook;
HWND g_target = nullptr;
CapturedKeys g_keys = CapturedKeys::All;

bool IsShift(DWORD key) {
    return key == VK_LSHIFT || key == VK_RSHIFT || key == VK_SHIFT;
}

LRESULT CALLBACK KeyHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0)
        return CallNextHookEx(g_hook.Get(), code, wParam, lParam);
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    win::DebugText("%x\n", static_cast<unsigned>(event->vkCode));
    const bool leaves = g_keys == CapturedKeys::ButDialogKeys;
    const bool dialogKey = leaves && (event->vkCode == VK_TAB || event->vkCode == VK_ESCAPE);
    if (!dialogKey)
        PostMessageA(g_target, kMsgCapturedKey, event->vkCode, event->flags & LLKHF_UP);
    if (dialogKey || (leaves && IsShift(event->vkCode)))
        return CallNextHookEx(g_hook.Get(), code, wParam, lParam);
    // Swallowed: the key belongs to the capture, not to other programs.
    return 1;
}

}  // namespace

bool InstallKeyHook(HWND target, CapturedKeys keys) {
    RemoveKeyHook();
    g_target = target;
    g_keys = keys;
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
    win::DebugText(removed ? "UnHhook: Success \r\n" : "UnHhook: Fail \r\n");
    g_target = nullptr;
}

bool KeyHookInstalled() {
    return g_hook.Valid();
}

}  // namespace option
