// The one way our Windows tests wait: for a condition, with a generous
// deadline, never for a fixed time before checking that something happened.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace e2e {

// How long a test waits for something that must happen before it calls the
// product wrong. Generous on purpose: a loaded machine is slow, not wrong, and
// a test that passes only waits as long as the product needs.
inline constexpr std::chrono::milliseconds kPatience = std::chrono::seconds(30);

// Polls `condition` until it holds (true) or `timeout` passes (false). The
// calling thread's messages are dispatched meanwhile, so that its windows and
// timers keep working while it waits.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = kPatience);

// Lets `window` pass, dispatching this thread's messages. Only for checks that
// something did NOT happen, and best after a positive event has shown that the
// input was handled: what must happen is waited for with WaitUntil.
void ObserveFor(std::chrono::milliseconds window);

// Microseconds of the performance counter: the clock of recorded input.
std::int64_t NowMicroseconds();

}  // namespace e2e
