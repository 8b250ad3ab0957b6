#include "common/settings/mouse_registry.h"

#include <cstdint>

namespace settings {

const std::array<AccelerationRow, kAccelerationRows> kAccelerationTable = {{
    {0, 0, 0},  {1, 13, 0}, {1, 12, 0}, {1, 11, 0}, {1, 10, 0}, {1, 9, 0},  {1, 8, 0},
    {1, 7, 0},  {1, 6, 0},  {1, 5, 0},  {1, 4, 0},  {2, 4, 13}, {2, 4, 12}, {2, 4, 11},
    {2, 4, 10}, {2, 4, 9},  {2, 4, 8},  {2, 4, 7},  {2, 4, 6},  {2, 4, 5},
}};

namespace {

constexpr const char* kDoubleClickSpeed = "DoubleClickSpeed";
constexpr const char* kMouseSensitivity = "MouseSensitivity";
constexpr const char* kMouseTrails = "MouseTrails";
constexpr const char* kMouseSpeed = "MouseSpeed";
constexpr const char* kMouseThreshold1 = "MouseThreshold1";
constexpr const char* kMouseThreshold2 = "MouseThreshold2";
constexpr const char* kWheelScrollLines = "WheelScrollLines";

int ReadNumber(RegistryKey& key, const char* name) {
    std::string text;
    if (!key.ReadText(name, text))
        return 0;
    return RegistryNumber(text);
}

}  // namespace

int RegistryNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    // Wrap like the C runtime's conversion would rather than overflow.
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (negative)
        value = 0u - value;
    return static_cast<int>(value);
}

const AccelerationRow& AccelerationRowFor(int acceleration, int accelerationFlag) {
    if (accelerationFlag == 0)
        return kAccelerationTable[0];
    if (acceleration < 0)
        acceleration = 0;
    if (acceleration >= kAccelerationRows)
        acceleration = kAccelerationRows - 1;
    return kAccelerationTable[static_cast<std::size_t>(acceleration)];
}

int MatchAccelerationRow(int speed, int threshold1, int threshold2) {
    for (int r = kAccelerationRows - 1; r >= 0; --r) {
        const AccelerationRow& row = kAccelerationTable[static_cast<std::size_t>(r)];
        if (row.speed == speed && row.threshold1 >= threshold1 && row.threshold2 >= threshold2) {
            return r;
        }
    }
    return -1;
}

int WriteRegistryFromProfile(MouseRegistry& registry, const ProfileRecord& p) {
    std::unique_ptr<RegistryKey> mouse = registry.Open(MouseRegistryKey::Mouse, true);
    if (!mouse)
        return -1;
    mouse->WriteText(kDoubleClickSpeed, std::to_string(p.DbleClickSpeed));
    mouse->WriteText(kMouseSensitivity, std::to_string(p.MouseSpeed));
    int trails = 0;
    if (p.bMouseTrails == 1)
        trails = p.MouseTrails < 1 ? 4 : p.MouseTrails;
    mouse->WriteText(kMouseTrails, std::to_string(trails));
    const AccelerationRow& row = AccelerationRowFor(p.Acceleration, p.AccelerationFlag);
    mouse->WriteText(kMouseSpeed, std::to_string(row.speed));
    mouse->WriteText(kMouseThreshold1, std::to_string(row.threshold1));
    mouse->WriteText(kMouseThreshold2, std::to_string(row.threshold2));
    mouse.reset();

    std::unique_ptr<RegistryKey> desktop = registry.Open(MouseRegistryKey::Desktop, true);
    if (!desktop)
        return -1;
    desktop->WriteText(kWheelScrollLines, p.ScrollWheelFlag == 1
                                              ? std::string("-1")
                                              : std::to_string(p.ScrollWheelSpeed));
    return 1;
}

int ReadRegistryIntoProfile(MouseRegistry& registry, ProfileRecord& p) {
    std::unique_ptr<RegistryKey> mouse = registry.Open(MouseRegistryKey::Mouse, false);
    if (!mouse)
        return 0;
    p.DbleClickSpeed = ReadNumber(*mouse, kDoubleClickSpeed);
    p.MouseSpeed = ReadNumber(*mouse, kMouseSensitivity);
    const int trails = ReadNumber(*mouse, kMouseTrails);
    if (trails >= 2 && trails <= 7) {
        p.MouseTrails = trails;
        p.bMouseTrails = 1;
    } else {
        p.MouseTrails = 4;
        p.bMouseTrails = 0;
    }
    const int row =
        MatchAccelerationRow(ReadNumber(*mouse, kMouseSpeed), ReadNumber(*mouse, kMouseThreshold1),
                             ReadNumber(*mouse, kMouseThreshold2));
    if (row >= 0)
        p.Acceleration = row;
    p.AccelerationFlag = p.Acceleration > 3 ? 1 : 0;
    mouse.reset();

    std::unique_ptr<RegistryKey> desktop = registry.Open(MouseRegistryKey::Desktop, false);
    if (!desktop)
        return -1;
    const int lines = ReadNumber(*desktop, kWheelScrollLines);
    if (lines == -1) {
        p.ScrollWheelFlag = 1;
        p.ScrollWheelSpeed = 0;
    } else {
        p.ScrollWheelFlag = 0;
        p.ScrollWheelSpeed = lines;
    }
    return 1;
}

void ApplySystemMouseSettings(ProfileRecord& p, SystemMouse& system, RegistryKey* mouseKey,
                              MouseRegistry* readFirst) {
    if (readFirst != nullptr)
        ReadRegistryIntoProfile(*readFirst, p);

    system.SetDoubleClickTime(p.DbleClickSpeed);

    system.SwapMouseButton(p.Orientation != 0);
    system.NotifyOwnWindow(spi::kSetMouseButtonSwap);

    int speed = 0;
    int threshold2 = 0;
    int threshold1 = 0;
    if (mouseKey != nullptr) {
        speed = ReadNumber(*mouseKey, kMouseSpeed);
        threshold2 = ReadNumber(*mouseKey, kMouseThreshold2);
        threshold1 = ReadNumber(*mouseKey, kMouseThreshold1);
    }
    if (p.AccelerationFlag != 1 && (speed != 0 || threshold2 != 0 || threshold1 != 0)) {
        p.Acceleration = 0;
        mouseKey->WriteText(kMouseSpeed, "0");
        mouseKey->WriteText(kMouseThreshold2, "0");
        mouseKey->WriteText(kMouseThreshold1, "0");
        speed = threshold2 = threshold1 = 0;
    }
    system.SetMouse(threshold1, threshold2, speed);
    system.NotifyOwnWindow(spi::kSetMouse);
    system.SetMouseSpeed(p.MouseSpeed);
    system.NotifyOwnWindow(spi::kSetMouseSpeed);

    system.SetWheelScrollLines(p.ScrollWheelFlag != 0 ? -1 : p.ScrollWheelSpeed);
    system.NotifyOwnWindow(spi::kSetWheelScrollLines);

    int trails = 0;
    if (p.bMouseTrails == 1)
        trails = p.MouseTrails == 0 ? 4 : p.MouseTrails;
    system.SetMouseTrails(trails);
    system.NotifyAllWindows(spi::kSetMouseTrails);
}

}  // namespace settings
