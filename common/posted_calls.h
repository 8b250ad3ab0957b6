// Work handed to one thread (a window's) from any thread: each call is queued
// and one wake-up (on Windows a posted message) asks the owning thread to run
// it, in the order the calls were posted and behind whatever that thread had
// queued before. One message for every kind of hand-off, instead of one
// message number and one handler each.
//
// The owner holds the queue; posters hold senders, which may outlive it. Once
// the owner is closed (or gone) a posted call is dropped at once, in the
// poster's thread, and calls still queued are destroyed without running: a
// call never runs on an owner that no longer exists, and none is leaked.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace calls {

using Call = std::function<void()>;
// Asks the owning thread to run one queued call (RunOne) later; false when
// it cannot, and then the call is not queued.
using Wake = std::function<bool()>;

class PostedCalls {
  public:
    // A poster's handle: cheap to copy, safe to keep after the owner is gone.
    class Sender {
      public:
        Sender() = default;
        // False when the call was dropped (no owner, closed, or no wake-up).
        bool Post(Call call) const;

      private:
        friend class PostedCalls;
        struct State;
        explicit Sender(std::shared_ptr<State> state) : state_(std::move(state)) {}
        std::shared_ptr<State> state_;
    };

    PostedCalls();
    ~PostedCalls();
    PostedCalls(const PostedCalls&) = delete;
    PostedCalls& operator=(const PostedCalls&) = delete;

    // Until the wake-up is set, every post is dropped.
    void Open(Wake wake);
    // Drops what is queued and every later post.
    void Close();
    Sender MakeSender() const { return Sender(state_); }
    bool Post(Call call) const { return MakeSender().Post(std::move(call)); }
    // On the owning thread, once per wake-up: runs the oldest queued call.
    void RunOne();

  private:
    std::shared_ptr<Sender::State> state_;
};

}  // namespace calls
