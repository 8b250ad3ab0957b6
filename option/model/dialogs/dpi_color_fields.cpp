#include "option/model/dialogs/dpi_color_fields.h"

#include "option/model/pages/color_bytes.h"

namespace option {

std::uint32_t ColorAfterSpin(std::uint32_t color, int id, int value) {
    switch (id) {
        case kSpinRed:
            return WithChannel(color, Channel::Red, value);
        case kSpinGreen:
            return WithChannel(color, Channel::Green, value);
        case kSpinBlue:
            return WithChannel(color, Channel::Blue, value);
        default:
            return color;
    }
}

}  // namespace option
