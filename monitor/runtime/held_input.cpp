#include "monitor/runtime/held_input.h"

#include <iterator>

namespace runtime {

namespace {

// Bit i of the held mask is button i.
constexpr MouseButtonFlags kButtons[] = {
    mouse_button::kLeft, mouse_button::kRight, mouse_button::kMiddle,
    mouse_button::kX1,   mouse_button::kX2,
};

}  // namespace

void HeldInput::Key(std::uint8_t virtualKey, bool extended, bool down) {
    keys_[virtualKey].store(down ? (extended ? kDownExtended : kDown) : kUp);
}

void HeldInput::MouseButtons(std::uint32_t flags, std::uint32_t data) {
    for (std::uint32_t i = 0; i < std::size(kButtons); ++i) {
        const MouseButtonFlags& button = kButtons[i];
        if (button.data != 0 && button.data != data)
            continue;
        if ((flags & button.down) != 0)
            buttons_.fetch_or(1u << i);
        if ((flags & button.up) != 0)
            buttons_.fetch_and(~(1u << i));
    }
}

void HeldInput::ReleaseAll(InputSink& input) {
    for (int key = 255; key >= 0; --key) {
        const std::uint8_t state = keys_[key].exchange(kUp);
        if (state == kDown)
            input.KeyUp(static_cast<std::uint8_t>(key));
        else if (state == kDownExtended)
            input.ExtendedKeyUp(static_cast<std::uint8_t>(key));
    }
    const std::uint32_t held = buttons_.exchange(0);
    for (std::uint32_t i = 0; i < std::size(kButtons); ++i) {
        if ((held & (1u << i)) != 0)
            input.MouseButton(kButtons[i].up, kButtons[i].data);
    }
}

}  // namespace runtime
