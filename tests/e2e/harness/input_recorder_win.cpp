#include "tests/e2e/harness/input_recorder_win.h"

#include <atomic>
#include <cstdio>

#include "tests/e2e/harness/harness_win.h"

namespace e2e {

namespace {

std::atomic<InputRecorder*> g_recorder{nullptr};

}  // namespace

DWORD SidelessKey(DWORD vk) {
    switch (vk) {
        case VK_LSHIFT:
        case VK_RSHIFT:
            return VK_SHIFT;
        case VK_LCONTROL:
        case VK_RCONTROL:
            return VK_CONTROL;
        case VK_LMENU:
        case VK_RMENU:
            return VK_MENU;
        default:
            return vk;
    }
}

InputRecorder::InputRecorder() {
    InputRecorder* expected = nullptr;
    if (!g_recorder.compare_exchange_strong(expected, this))
        return;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread(&InputRecorder::Run, this, ready);
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
}

InputRecorder::~InputRecorder() {
    if (thread_.joinable()) {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    InputRecorder* self = this;
    g_recorder.compare_exchange_strong(self, nullptr);
}

void InputRecorder::Run(HANDLE ready) {
    threadId_ = GetCurrentThreadId();
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
    HINSTANCE module = GetModuleHandleA(nullptr);
    HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, &InputRecorder::KeyboardProc, module, 0);
    HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, &InputRecorder::MouseProc, module, 0);
    installed_ = keyboard != nullptr && mouse != nullptr;
    SetEvent(ready);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    if (keyboard != nullptr)
        UnhookWindowsHookEx(keyboard);
    if (mouse != nullptr)
        UnhookWindowsHookEx(mouse);
}

namespace {

// An event of hook message `wParam` with `flags`, stamped now.
InputEvent Stamped(WPARAM wParam, DWORD flags) {
    InputEvent event;
    event.message = static_cast<UINT>(wParam);
    event.flags = flags;
    event.microseconds = NowMicroseconds();
    return event;
}

}  // namespace

LRESULT CALLBACK InputRecorder::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    InputRecorder* self = g_recorder.load();
    if (code == HC_ACTION && self != nullptr) {
        const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        InputEvent event = Stamped(wParam, info->flags);
        event.vk = info->vkCode;
        event.scan = info->scanCode;
        self->Record(event);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK InputRecorder::MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    InputRecorder* self = g_recorder.load();
    if (code == HC_ACTION && self != nullptr) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        InputEvent event = Stamped(wParam, info->flags);
        event.mouse = true;
        event.point = info->pt;
        event.mouseData = info->mouseData;
        self->Record(event);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void InputRecorder::Record(const InputEvent& event) {
    std::function<void(const InputEvent&)> observer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(event);
        observer = observer_;
    }
    if (observer)
        observer(event);
}

void InputRecorder::SetObserver(std::function<void(const InputEvent&)> observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observer_ = std::move(observer);
}

std::vector<InputEvent> InputRecorder::Events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

std::vector<InputEvent> InputRecorder::Keys() const {
    std::vector<InputEvent> out;
    for (const InputEvent& e : Events())
        if (!e.mouse)
            out.push_back(e);
    return out;
}

std::vector<InputEvent> InputRecorder::MouseButtons() const {
    std::vector<InputEvent> out;
    for (const InputEvent& e : Events())
        if (e.mouse && e.message != WM_MOUSEMOVE && e.message != WM_MOUSEWHEEL &&
            e.message != WM_MOUSEHWHEEL)
            out.push_back(e);
    return out;
}

void InputRecorder::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
}

bool InputRecorder::WaitFor(const std::function<bool(const std::vector<InputEvent>&)>& condition,
                            std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return condition(Events()); }, timeout);
}

std::vector<std::string> KeyTrace(const std::vector<InputEvent>& events) {
    std::vector<std::string> out;
    for (const InputEvent& e : events) {
        if (e.mouse)
            continue;
        char text[8];
        std::snprintf(text, sizeof text, "%c%02lX", e.KeyUp() ? '-' : '+',
                      static_cast<unsigned long>(SidelessKey(e.vk)));
        out.push_back(text);
    }
    return out;
}

}  // namespace e2e
