#include "tests/win/monitor/runtime/input_hook.h"

namespace runtime::test {

namespace {
InputHook* g_hook = nullptr;  // the hook procedures have no context argument
}

InputHook::InputHook() {
    g_hook = this;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &ThreadMain, this, 0, &threadId_);
    WaitForSingleObject(ready_, 5000);
}

InputHook::~InputHook() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    CloseHandle(ready_);
    g_hook = nullptr;
}

DWORD WINAPI InputHook::ThreadMain(LPVOID param) {
    auto* self = static_cast<InputHook*>(param);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // create the queue
    const HMODULE module = GetModuleHandleA(nullptr);
    HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, &KeyboardProc, module, 0);
    HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, &MouseProc, module, 0);
    self->installed_ = keyboard != nullptr && mouse != nullptr;
    SetEvent(self->ready_);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    if (keyboard)
        UnhookWindowsHookEx(keyboard);
    if (mouse)
        UnhookWindowsHookEx(mouse);
    return 0;
}

LRESULT CALLBACK InputHook::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_hook != nullptr) {
        const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        g_hook->Add({true, wParam, k->vkCode, k->scanCode, k->flags, e2e::NowMicroseconds()});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK InputHook::MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_hook != nullptr && wParam != WM_MOUSEMOVE) {
        const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        g_hook->Add({false, wParam, m->mouseData, 0, m->flags, e2e::NowMicroseconds()});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void InputHook::Add(const HookedEvent& e) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(e);
}

std::vector<HookedEvent> InputHook::WaitFor(std::size_t count, std::chrono::milliseconds timeout) {
    e2e::WaitUntil(
        [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            return events_.size() >= count;
        },
        timeout);
    return Events();
}

std::vector<HookedEvent> InputHook::Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

void InputHook::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
}

}  // namespace runtime::test
