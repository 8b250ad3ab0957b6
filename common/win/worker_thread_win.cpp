#include "common/win/worker_thread_win.h"

namespace win {

namespace {
// Committed stack at start; the reserve is the program's default and grows on use.
constexpr SIZE_T kStackSize = 4096;
}  // namespace

WorkerThread::~WorkerThread() {
    Stop();
}

bool WorkerThread::Start(Handler handler, Hooks hooks) {
    if (thread_)
        return false;
    handler_ = std::move(handler);
    hooks_ = std::move(hooks);
    setupOk_ = false;
    ready_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!ready_)
        return false;
    thread_.Reset(CreateThread(nullptr, kStackSize, &WorkerThread::Main, this, 0, &id_));
    if (!thread_) {
        ready_.Reset();
        id_ = 0;
        return false;
    }
    const HANDLE waits[2] = {ready_.Get(), thread_.Get()};
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    ready_.Reset();
    if (!setupOk_) {
        // The thread ends by itself after a failed setup.
        WaitForSingleObject(thread_.Get(), INFINITE);
        thread_.Reset();
        id_ = 0;
        return false;
    }
    return true;
}

bool WorkerThread::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!thread_)
        return false;
    return PostThreadMessageA(id_, message, wParam, lParam) != FALSE;
}

void WorkerThread::Stop() {
    if (!thread_)
        return;
    PostThreadMessageA(id_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
    id_ = 0;
}

DWORD WINAPI WorkerThread::Main(void* param) {
    auto* self = static_cast<WorkerThread*>(param);
    MSG msg;
    // Touching the queue creates it; only then may the creator go on.
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    const bool ok = !self->hooks_.setup || self->hooks_.setup();
    self->setupOk_ = ok;
    // After this the creator may return from Start: nothing of `self` that
    // Start writes is touched again.
    SetEvent(self->ready_.Get());
    if (ok)
        self->Loop();
    if (self->hooks_.teardown)
        self->hooks_.teardown();
    return 0;
}

void WorkerThread::Loop() {
    for (;;) {
        std::vector<HANDLE> waits;
        if (hooks_.waitables)
            waits = hooks_.waitables();
        if (waits.size() > MAXIMUM_WAIT_OBJECTS - 1)
            waits.resize(MAXIMUM_WAIT_OBJECTS - 1);
        const auto count = static_cast<DWORD>(waits.size());
        const DWORD r = MsgWaitForMultipleObjectsEx(count, count > 0 ? waits.data() : nullptr,
                                                    INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (count > 0 && r < WAIT_OBJECT_0 + count && hooks_.signalled)
            hooks_.signalled();
        // The queue is emptied after every wake-up, so that a busy object
        // never starves the messages.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return;
            if (msg.hwnd != nullptr) {
                DispatchMessageA(&msg);
            } else if (handler_) {
                handler_(msg.message, msg.wParam, msg.lParam);
            }
        }
    }
}

}  // namespace win
