#include "common/posted_calls.h"

#include <utility>

namespace calls {

struct PostedCalls::Sender::State {
    std::mutex lock;
    Wake wake;  // empty while closed
    std::deque<Call> queue;
};

bool PostedCalls::Sender::Post(Call call) const {
    if (!state_ || !call)
        return false;
    std::unique_lock hold(state_->lock);
    if (!state_->wake)
        return false;
    // Queued and woken under one lock, so that the n-th wake-up finds the
    // n-th call at the front whichever threads post.
    state_->queue.push_back(std::move(call));
    if (state_->wake())
        return true;
    Call dropped = std::move(state_->queue.back());
    state_->queue.pop_back();
    hold.unlock();  // the call's captures are destroyed outside the lock
    return false;
}

PostedCalls::PostedCalls() : state_(std::make_shared<Sender::State>()) {}

PostedCalls::~PostedCalls() {
    Close();
}

void PostedCalls::Open(Wake wake) {
    const std::lock_guard hold(state_->lock);
    state_->wake = std::move(wake);
}

void PostedCalls::Close() {
    std::deque<Call> dropped;
    Wake wake;
    {
        const std::lock_guard hold(state_->lock);
        dropped.swap(state_->queue);
        wake.swap(state_->wake);
    }
}

void PostedCalls::RunOne() {
    Call call;
    {
        const std::lock_guard hold(state_->lock);
        // A wake-up that outlived a Close finds nothing.
        if (state_->queue.empty())
            return;
        call = std::move(state_->queue.front());
        state_->queue.pop_front();
    }
    call();
}

}  // namespace calls
