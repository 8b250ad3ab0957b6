// The Windows pointer settings kept in the current user's registry and the
// running system: conversions between them and a profile record, and the
// apply sequence Monitor runs after every hand-over and profile switch.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "common/settings/settings_block.h"

namespace settings {

// Registry values are read as text of up to this many bytes.
inline constexpr std::size_t kRegistryTextBuffer = 80;

// HKEY_CURRENT_USER "Control Panel\Mouse" and "Control Panel\Desktop".
enum class MouseRegistryKey { Mouse, Desktop };

// One open registry key holding REG_SZ decimal texts.
class RegistryKey {
  public:
    virtual ~RegistryKey() = default;
    // False when the value is missing or not readable as text.
    virtual bool ReadText(const char* name, std::string& text) = 0;
    virtual bool WriteText(const char* name, const std::string& text) = 0;
};

class MouseRegistry {
  public:
    virtual ~MouseRegistry() = default;
    // Opens the key with full access (creating it when create is set); null
    // when it cannot be opened.
    virtual std::unique_ptr<RegistryKey> Open(MouseRegistryKey key, bool create) = 0;
};

struct AccelerationRow {
    int speed;
    int threshold1;
    int threshold2;
};
inline constexpr int kAccelerationRows = 20;
extern const std::array<AccelerationRow, kAccelerationRows> kAccelerationTable;

// The row written for an acceleration level: the level clamped to 0..19 when
// acceleration is enabled, row 0 otherwise.
const AccelerationRow& AccelerationRowFor(int acceleration, int accelerationFlag);
// The highest row with the given speed whose thresholds are each at least the
// given ones; -1 when none matches.
int MatchAccelerationRow(int speed, int threshold1, int threshold2);

// A registry text as a decimal integer (leading blanks, sign, digits); text
// that holds no number converts as 0.
int RegistryNumber(const std::string& text);

// Writes the nine pointer values of a profile. -1 when a key cannot be opened
// or created (nothing further is written), 1 otherwise.
int WriteRegistryFromProfile(MouseRegistry& registry, const ProfileRecord& profile);

// Reads the registry into a profile. 0 when "Control Panel\Mouse" cannot be
// opened, -1 when "Control Panel\Desktop" cannot, 1 otherwise.
int ReadRegistryIntoProfile(MouseRegistry& registry, ProfileRecord& profile);

// SystemParametersInfo actions used by the apply sequence (Windows values).
namespace spi {
inline constexpr unsigned kSetMouse = 0x0004;
inline constexpr unsigned kSetMouseButtonSwap = 0x0021;
inline constexpr unsigned kSetMouseTrails = 0x005D;
inline constexpr unsigned kSetWheelScrollLines = 0x0069;
inline constexpr unsigned kSetMouseSpeed = 0x0071;
}  // namespace spi

// The running system's pointer settings. Failures are ignored by callers.
class SystemMouse {
  public:
    virtual ~SystemMouse() = default;
    virtual void SetDoubleClickTime(int milliseconds) = 0;
    virtual void SwapMouseButton(bool swap) = 0;
    // SPI_SETMOUSE with the three values in this order.
    virtual void SetMouse(int threshold1, int threshold2, int speed) = 0;
    virtual void SetMouseSpeed(int speed) = 0;
    // -1 scrolls a page per notch.
    virtual void SetWheelScrollLines(int lines) = 0;
    virtual void SetMouseTrails(int trails) = 0;
    // WM_WININICHANGE with the action, sent to the program's own window.
    virtual void NotifyOwnWindow(unsigned action) = 0;
    // WM_WININICHANGE with the action, posted to every top-level window.
    virtual void NotifyAllWindows(unsigned action) = 0;
};

// Applies a profile's pointer settings to the running system in the fixed
// order: double-click time, button swap, acceleration, pointer speed, wheel
// lines, trails. mouseKey is the open "Control Panel\Mouse" key (null reads
// every value as 0). When acceleration is off but the registry still holds
// acceleration values, those are zeroed and the profile's Acceleration set
// to 0. With readFirst, the registry is first read into the profile.
void ApplySystemMouseSettings(ProfileRecord& profile, SystemMouse& system, RegistryKey* mouseKey,
                              MouseRegistry* readFirst = nullptr);

}  // namespace settings
