// The one worker thread: its hooks run on the thread itself, setup decides
// whether Start succeeds, windows of the thread get their messages, and a
// signalled object wakes the loop.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "common/win/scoped_win.h"
#include "common/win/worker_thread_win.h"

namespace {

constexpr DWORD kGenerousMs = 10000;
constexpr UINT kPing = WM_APP + 7;

std::atomic<DWORD> g_windowThread{0};
std::atomic<int> g_windowPings{0};

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kPing) {
        g_windowThread = GetCurrentThreadId();
        ++g_windowPings;
        SetEvent(reinterpret_cast<HANDLE>(lParam));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(WorkerThread, AFailedSetupFailsStartAndStillTearsDown) {
    win::WorkerThread thread;
    DWORD setupOn = 0, teardownOn = 0;
    win::WorkerThread::Hooks hooks;
    hooks.setup = [&] {
        setupOn = GetCurrentThreadId();
        return false;
    };
    hooks.teardown = [&] { teardownOn = GetCurrentThreadId(); };
    EXPECT_FALSE(thread.Start(nullptr, hooks));
    EXPECT_FALSE(thread.Running());
    EXPECT_NE(setupOn, 0u);
    EXPECT_NE(setupOn, GetCurrentThreadId());
    EXPECT_EQ(teardownOn, setupOn);
    EXPECT_FALSE(thread.Post(kPing, 0, 0));
}

TEST(WorkerThread, ThreadMessagesGoToTheHandlerWindowMessagesToTheirWindow) {
    win::ScopedHandle handled(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    win::ScopedHandle pinged(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    HWND window = nullptr;
    DWORD setupOn = 0, teardownOn = 0;
    std::atomic<DWORD> handlerOn{0};
    std::atomic<WPARAM> handledParam{0};

    win::WorkerThread::Hooks hooks;
    hooks.setup = [&] {
        setupOn = GetCurrentThreadId();
        WNDCLASSA wc{};
        wc.lpfnWndProc = &ProbeProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "WorkerThreadProbe";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        return window != nullptr;
    };
    hooks.teardown = [&] {
        teardownOn = GetCurrentThreadId();
        DestroyWindow(window);
    };
    win::WorkerThread thread;
    ASSERT_TRUE(thread.Start(
        [&](UINT message, WPARAM wParam, LPARAM) {
            if (message != kPing)
                return;
            handlerOn = GetCurrentThreadId();
            handledParam = wParam;
            SetEvent(handled.Get());
        },
        hooks));
    // Posted at once after Start: never lost.
    ASSERT_TRUE(thread.Post(kPing, 42, 0));
    ASSERT_EQ(WaitForSingleObject(handled.Get(), kGenerousMs), WAIT_OBJECT_0);
    EXPECT_EQ(handledParam.load(), 42u);
    EXPECT_EQ(handlerOn.load(), setupOn);

    ASSERT_TRUE(PostMessageA(window, kPing, 0, reinterpret_cast<LPARAM>(pinged.Get())));
    ASSERT_EQ(WaitForSingleObject(pinged.Get(), kGenerousMs), WAIT_OBJECT_0);
    EXPECT_EQ(g_windowThread.load(), setupOn);
    EXPECT_EQ(g_windowPings.load(), 1);

    thread.Stop();
    EXPECT_EQ(teardownOn, setupOn);
    EXPECT_FALSE(IsWindow(window));
}

TEST(WorkerThread, ASignalledObjectRunsItsCallbackOnTheThread) {
    win::ScopedHandle work(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    win::ScopedHandle done(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    std::atomic<int> calls{0};
    std::atomic<DWORD> calledOn{0};
    win::WorkerThread::Hooks hooks;
    hooks.waitables = [&] { return std::vector<HANDLE>{work.Get()}; };
    hooks.signalled = [&] {
        ResetEvent(work.Get());  // consumed, as the hook must
        calledOn = GetCurrentThreadId();
        ++calls;
        SetEvent(done.Get());
    };
    win::WorkerThread thread;
    ASSERT_TRUE(thread.Start(nullptr, hooks));
    SetEvent(work.Get());
    ASSERT_EQ(WaitForSingleObject(done.Get(), kGenerousMs), WAIT_OBJECT_0);
    EXPECT_EQ(calledOn.load(), thread.Id());
    SetEvent(work.Get());
    ASSERT_EQ(WaitForSingleObject(done.Get(), kGenerousMs), WAIT_OBJECT_0);
    thread.Stop();
    EXPECT_EQ(calls.load(), 2);
}

}  // namespace
