// The keys and mouse buttons Monitor's synthesised input has put down and
// not yet let go of, as the input sink sends them. When Monitor crashes this
// is what must be let go: a key left down on the user's behalf stays down in
// every program until the user presses it again.
#pragma once

#include <atomic>
#include <cstdint>

#include "monitor/runtime/runtime_ports.h"

namespace runtime {

class HeldInput {
  public:
    // Any thread, lock-free.
    void Key(std::uint8_t virtualKey, bool extended, bool down);
    // A synthesised mouse event's flags and data (see MouseButtonFlags).
    void MouseButtons(std::uint32_t flags, std::uint32_t data);

    // An up for every key and button still down, then all is forgotten.
    // Allocates nothing and takes no lock: it runs when Monitor crashes.
    void ReleaseAll(InputSink& input);

  private:
    enum KeyState : std::uint8_t { kUp, kDown, kDownExtended };
    std::atomic<std::uint8_t> keys_[256] = {};
    // One bit per button: left, right, middle, first and second X button.
    std::atomic<std::uint32_t> buttons_{0};
};

}  // namespace runtime
