#include "option/skin/accessible_text.h"

#include <cstdint>

namespace skin {
namespace {

std::string Scaled(int position, const ValueUnit& unit) {
    return std::to_string(static_cast<std::int64_t>(position) * unit.scale);
}

std::string WithUnit(std::string number, const ValueUnit& unit) {
    return unit.unit.empty() ? number : number + " " + unit.unit;
}

}  // namespace

std::string ValueText(int position, const ValueUnit& unit) {
    return WithUnit(Scaled(position, unit), unit);
}

std::string RangeText(int minimum, int maximum, const ValueUnit& unit) {
    return WithUnit("from " + Scaled(minimum, unit) + " to " + Scaled(maximum, unit), unit);
}

std::string ColorText(std::uint32_t color) {
    return "red " + std::to_string(color & 0xFF) + ", green " +
           std::to_string((color >> 8) & 0xFF) + ", blue " + std::to_string((color >> 16) & 0xFF);
}

}  // namespace skin
