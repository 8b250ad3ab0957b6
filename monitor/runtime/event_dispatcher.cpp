#include "monitor/runtime/event_dispatcher.h"

#include <span>

namespace runtime {

namespace {

using Handler = bool (*)(unsigned category, unsigned data, DeviceActions& a);

struct EventRow {
    unsigned firstCategory;
    unsigned lastCategory;
    Handler handler;
};

unsigned LowByte(unsigned v) {
    return v & 0xFFu;
}
unsigned HighByte(unsigned v) {
    return (v >> 8) & 0xFFu;
}

bool Connection(unsigned, unsigned d, DeviceActions& a) {
    if (d != 1 && d != 2)
        return false;
    a.ConnectionChanged(d == 1);
    return true;
}

bool Tilt(unsigned, unsigned d, DeviceActions& a) {
    if (d != 1 && d != 255)
        return false;
    a.Tilt(d == 1);
    return true;
}

// The device counts profiles and CPI levels from 1; the actions from 0.
template <unsigned Count, void (DeviceActions::*Choose)(int)>
bool OneBasedChoice(unsigned, unsigned d, DeviceActions& a) {
    if (d < 1 || d > Count)
        return false;
    (a.*Choose)(static_cast<int>(d) - 1);
    return true;
}

bool Button(unsigned d, DeviceActions& a, bool notice) {
    const unsigned n = LowByte(d);
    if (n < 1 || n > 15)
        return false;
    a.ButtonAction(static_cast<int>(n), HighByte(d) != 0, notice);
    return true;
}

bool ButtonWithNotice(unsigned, unsigned d, DeviceActions& a) {
    return Button(d, a, true);
}
bool ButtonQuiet(unsigned, unsigned d, DeviceActions& a) {
    return Button(d, a, false);
}

bool Launch(unsigned category, unsigned d, DeviceActions& a) {
    const unsigned n = LowByte(category);
    if (n < 1 || n > 15 || HighByte(d) != 0)
        return false;
    a.LaunchProgram(static_cast<int>(n));
    return true;
}

bool Option(unsigned, unsigned, DeviceActions& a) {
    a.OpenOption();
    return true;
}

bool Polling(unsigned, unsigned d, DeviceActions& a) {
    if (d != 1 && d != 2 && d != 4 && d != 8)
        return false;
    a.PollingIntervalChanged(static_cast<int>(d));
    return true;
}

bool Sensitivity(unsigned, unsigned d, DeviceActions& a) {
    const unsigned x = LowByte(d);
    const unsigned y = HighByte(d);
    // Each axis stands alone: one byte out of range leaves only that axis as
    // it is, and the runtime applies only the bytes that are in range.
    const auto inRange = [](unsigned v) { return v >= 1 && v <= 20; };
    if (!inRange(x) && !inRange(y))
        return false;
    a.SensitivityChanged(static_cast<int>(x), static_cast<int>(y));
    return true;
}

bool Media(unsigned, unsigned d, DeviceActions& a) {
    const unsigned k = LowByte(d);
    if (k < 32 || k > 39)
        return false;
    a.MediaKey(static_cast<int>(k), HighByte(d) != 0);
    return true;
}

constexpr Handler Profile = &OneBasedChoice<5, &DeviceActions::SwitchProfile>;
constexpr Handler Cpi = &OneBasedChoice<8, &DeviceActions::CpiLevelChanged>;

// Tested first row first.
constexpr EventRow kEventTable[] = {
    {0x7F00, 0x7F00, &Connection},       {0x1000, 0x1000, &Tilt},        {0x7000, 0x70FF, Profile},
    {0x4000, 0x4000, &ButtonWithNotice}, {0x5000, 0x5000, &ButtonQuiet}, {0x6000, 0x60FF, &Launch},
    {0xA000, 0xA000, &Option},           {0x0700, 0x07FF, Cpi},          {0x0500, 0x05FF, &Polling},
    {0xC000, 0xC000, &Sensitivity},      {0xF000, 0xF000, &Media},
};

}  // namespace

bool DispatchDeviceEvent(std::uint32_t code, DeviceActions& actions) {
    const unsigned category = code >> 16;
    const unsigned data = code & 0xFFFFu;
    for (const EventRow& row : std::span(kEventTable)) {
        if (category >= row.firstCategory && category <= row.lastCategory) {
            return row.handler(category, data, actions);
        }
    }
    return false;
}

}  // namespace runtime
