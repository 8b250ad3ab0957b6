// A worker thread with its own message queue. Start returns only after the
// queue exists, so a message posted right after start is never lost.
#pragma once

#include <windows.h>

#include <functional>

namespace win {

class WorkerThread {
public:
    using Handler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    bool Start(Handler handler);
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) const;
    // Ends the message loop and waits for the thread without time-out.
    void Stop();
    bool Running() const { return thread_ != nullptr; }
    DWORD Id() const { return id_; }

private:
    static DWORD WINAPI Main(void* self);

    Handler handler_;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    DWORD id_ = 0;
};

}  // namespace win
