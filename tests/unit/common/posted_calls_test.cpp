#include "common/posted_calls.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace calls {
namespace {

// The owner's side of the wake-ups: one per queued call, answered later.
struct Wakes {
    int pending = 0;
    bool refuse = false;
    Wake Function() {
        return [this] {
            if (refuse)
                return false;
            ++pending;
            return true;
        };
    }
    void Deliver(PostedCalls& owner) {
        for (; pending > 0; --pending) owner.RunOne();
    }
};

TEST(PostedCalls, EachWakeUpRunsTheOldestCallAndARefusedWakeUpDropsItsCall) {
    PostedCalls owner;
    Wakes wakes;
    std::vector<int> ran;
    EXPECT_FALSE(owner.Post([&] { ran.push_back(0); })) << "no wake-up yet";
    owner.Open(wakes.Function());
    const PostedCalls::Sender sender = owner.MakeSender();
    EXPECT_TRUE(sender.Post([&] { ran.push_back(1); }));
    wakes.refuse = true;
    EXPECT_FALSE(sender.Post([&] { ran.push_back(2); }));
    wakes.refuse = false;
    EXPECT_TRUE(owner.Post([&] { ran.push_back(3); }));
    EXPECT_TRUE(ran.empty()) << "nothing runs before its wake-up";
    owner.RunOne();
    EXPECT_EQ(ran, (std::vector<int>{1}));
    wakes.pending = 1;
    wakes.Deliver(owner);
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
    owner.RunOne();  // a stray wake-up finds nothing
    EXPECT_EQ(ran.size(), 2u);
}

TEST(PostedCalls, ClosedOrGoneOwnerDropsCallsWithoutRunningOrKeepingThem) {
    Wakes wakes;
    auto owner = std::make_unique<PostedCalls>();
    owner->Open(wakes.Function());
    const PostedCalls::Sender sender = owner->MakeSender();
    auto captured = std::make_shared<int>(0);
    bool ran = false;
    ASSERT_TRUE(sender.Post([captured, &ran] { ran = true; }));
    owner->Close();
    EXPECT_EQ(captured.use_count(), 1) << "a queued call is destroyed at the close";
    EXPECT_FALSE(sender.Post([captured, &ran] { ran = true; }));
    owner->RunOne();
    owner.reset();
    EXPECT_FALSE(sender.Post([captured, &ran] { ran = true; }));
    EXPECT_EQ(captured.use_count(), 1);
    EXPECT_FALSE(ran);
}

TEST(PostedCalls, CallsFromManyThreadsEachRunOnceOnTheOwnersThread) {
    PostedCalls owner;
    Wakes wakes;
    owner.Open(wakes.Function());
    constexpr int kThreads = 4;
    constexpr int kCalls = 500;
    int ran = 0;  // touched only by the calls, so only on this thread
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([sender = owner.MakeSender(), &ran] {
            for (int i = 0; i < kCalls; ++i) EXPECT_TRUE(sender.Post([&ran] { ++ran; }));
        });
    }
    for (std::thread& poster : posters) poster.join();
    wakes.Deliver(owner);
    EXPECT_EQ(ran, kThreads * kCalls);
}

}  // namespace
}  // namespace calls
