#include "common/win/worker_thread_win.h"

namespace win {

namespace {
// The threads only run message loops and hand real work to heap objects.
constexpr SIZE_T kStackSize = 4096;
}  // namespace

WorkerThread::~WorkerThread() { Stop(); }

bool WorkerThread::Start(Handler handler) {
    if (thread_ != nullptr) return false;
    handler_ = std::move(handler);
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (ready_ == nullptr) return false;
    thread_ = CreateThread(nullptr, kStackSize, &WorkerThread::Main, this, 0, &id_);
    if (thread_ == nullptr) {
        CloseHandle(ready_);
        ready_ = nullptr;
        return false;
    }
    const HANDLE waits[2] = {ready_, thread_};
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    CloseHandle(ready_);
    ready_ = nullptr;
    return true;
}

bool WorkerThread::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (thread_ == nullptr) return false;
    return PostThreadMessageA(id_, message, wParam, lParam) != FALSE;
}

void WorkerThread::Stop() {
    if (thread_ == nullptr) return;
    PostThreadMessageA(id_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
    id_ = 0;
}

DWORD WINAPI WorkerThread::Main(void* param) {
    auto* self = static_cast<WorkerThread*>(param);
    MSG msg;
    // Touching the queue creates it; only then may the creator go on.
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(self->ready_);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && self->handler_) {
            self->handler_(msg.message, msg.wParam, msg.lParam);
        }
    }
    return 0;
}

}  // namespace win
