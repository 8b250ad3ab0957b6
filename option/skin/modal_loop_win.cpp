#include "option/skin/modal_loop_win.h"

namespace skin {
namespace {

// All of Option's windows live on one thread.
thread_local int t_depth = 0;
thread_local HWND t_waiter = nullptr;
thread_local UINT t_message = 0;

void PostToWaiter() {
    HWND waiter = t_waiter;
    t_waiter = nullptr;
    // Posted, not sent: the handler that ran the loop finishes first.
    if (waiter != nullptr && IsWindow(waiter))
        PostMessageA(waiter, t_message, 0, 0);
}

}  // namespace

ModalLoopScope::ModalLoopScope() {
    ++t_depth;
}

ModalLoopScope::~ModalLoopScope() {
    if (--t_depth == 0)
        PostToWaiter();
}

bool InModalLoop() {
    return t_depth > 0;
}

void PostWhenModalLoopsEnd(HWND window, UINT message) {
    t_waiter = window;
    t_message = message;
    if (t_depth == 0)
        PostToWaiter();
}

}  // namespace skin
