// One list of pointer-setting round trips through the registry, run against
// a double of the registry (native tests) and against the registry itself
// (Wine tests), so the two cannot drift apart: a profile's pointer values,
// the texts written for them, and what reading those texts back gives.
#pragma once

#include <array>
#include <ostream>

#include "common/settings/mouse_registry.h"

namespace registry_cases {

struct PointerValues {
    int doubleClick;
    int speed;
    int trailsOn;
    int trails;
    int accelerationOn;
    int acceleration;
    int wheelByPage;
    int wheelLines;

    bool operator==(const PointerValues&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const PointerValues& v) {
        return out << "{click " << v.doubleClick << ", speed " << v.speed << ", trails "
                   << v.trailsOn << "/" << v.trails << ", acceleration " << v.accelerationOn << "/"
                   << v.acceleration << ", wheel " << v.wheelByPage << "/" << v.wheelLines << "}";
    }
};

// Each under "Control Panel\\", in the order they are written.
inline constexpr std::array<const char*, 7> kValues = {
    "Mouse\\DoubleClickSpeed",  "Mouse\\MouseSensitivity", "Mouse\\MouseTrails",
    "Mouse\\MouseSpeed",        "Mouse\\MouseThreshold1",  "Mouse\\MouseThreshold2",
    "Desktop\\WheelScrollLines"};

struct RoundTrip {
    const char* name;
    PointerValues written;
    std::array<const char*, kValues.size()> texts;
    PointerValues readBack;
};

inline constexpr RoundTrip kRoundTrips[] = {
    {"top acceleration row, trails shown at 0, wheel by page",
     {420, 13, 1, 0, 1, 25, 1, 3},
     {"420", "13", "4", "2", "4", "5", "-1"},
     {420, 13, 1, 4, 1, 19, 1, 0}},
    {"level below the table, trails off, wheel by lines",
     {450, 14, 0, 6, 1, -2, 0, 5},
     {"450", "14", "0", "0", "0", "0", "5"},
     {450, 14, 0, 4, 0, 0, 0, 5}},
    {"acceleration off whatever its level, trails at 7",
     {500, 10, 1, 7, 0, 15, 0, 3},
     {"500", "10", "7", "0", "0", "0", "3"},
     {500, 10, 1, 7, 0, 0, 0, 3}},
};

inline void Put(const PointerValues& v, settings::ProfileRecord& p) {
    p.DbleClickSpeed = v.doubleClick;
    p.MouseSpeed = v.speed;
    p.bMouseTrails = v.trailsOn;
    p.MouseTrails = v.trails;
    p.AccelerationFlag = v.accelerationOn;
    p.Acceleration = v.acceleration;
    p.ScrollWheelFlag = v.wheelByPage;
    p.ScrollWheelSpeed = v.wheelLines;
}

inline PointerValues Take(const settings::ProfileRecord& p) {
    return {p.DbleClickSpeed,   p.MouseSpeed,   p.bMouseTrails,    p.MouseTrails,
            p.AccelerationFlag, p.Acceleration, p.ScrollWheelFlag, p.ScrollWheelSpeed};
}

}  // namespace registry_cases
