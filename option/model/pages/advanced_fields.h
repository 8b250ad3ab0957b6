// The advanced settings page free of the platform: what every control shows
// for a profile, and what each slider move and click writes into it.
//
// Values read from files or from the mouse may lie outside a control's range.
// They are shown clamped and never used as an index past a table or an
// array; the record keeps what it holds until the user changes that field.
#pragma once

#include <array>
#include <cstdint>

#include "common/settings/settings_block.h"

namespace option {

// Slider ids of the page.
enum AdvancedSlider : int {
    kSliderOtgSpeed = 201,
    kSliderSensitivityX = 202,
    kSliderSensitivityY = 203,
    kSliderPointerSpeed = 204,
    kSliderWheelLines = 205,
    kSliderTrails = 206,
    kSliderCpiX = 207,
    kSliderCpiY = 208,
};

inline constexpr int kCpiLevelsShown = 4;
inline constexpr int kPollingRateCount = 4;
// With acceleration on, the system uses this row of its acceleration table.
inline constexpr std::int32_t kAccelerationWhenOn = 8;

struct SliderRange {
    int minimum;
    int maximum;
};
// The range of slider `id`; {0, 0} for an id that is not one of the page's.
SliderRange AdvancedSliderRange(int id);

// Pointer-speed slider position 1..11 -> stored `MouseSpeed` (10 for any
// other position), and the position shown for a stored value.
std::int32_t PointerSpeedFromPosition(int position);
int PositionFromPointerSpeed(std::int32_t stored);

// The CPI level a `CpiStep` stands for on the page: 0..3, clamped.
int ShownLevel(std::int32_t cpiStep);

// Everything the page shows for one profile.
struct AdvancedView {
    int pollingRate;  // 0..3: the highlighted report-rate button
    int level;        // 0..3: the highlighted level button
    int cpiX;         // 1..160, slider 207 (the label shows x 100)
    int cpiY;         // 1..160, slider 208
    bool separateCpi;
    int sensitivityX;  // 1..11
    int sensitivityY;
    bool linkSensitivity;
    int pointerSpeed;  // slider position 1..11
    bool acceleration;
    int trailsLength;  // 2..7
    bool trails;
    int wheelLines;  // 1..10
    bool pageScroll;
    int otgSpeed;  // 2..255
    std::array<std::uint32_t, 4> ledColors;

    bool operator==(const AdvancedView&) const = default;
};
AdvancedView AdvancedViewOf(const settings::ProfileRecord& profile);

// Slider message: slider `id` moved to `position` (brought into its range).
// Unknown ids change nothing.
void MoveAdvancedSlider(settings::ProfileRecord& profile, int id, int position);

enum class AdvancedCheck { SeparateCpi, LinkSensitivity, Acceleration, Trails, PageScroll };
void SetAdvancedCheck(settings::ProfileRecord& profile, AdvancedCheck check, bool checked);

// Level button `level` (0..3; others are ignored): the level edited and
// made active. CPI values stay as they are.
void ChooseCpiLevel(settings::ProfileRecord& profile, int level);
// Report-rate button `rate` 0..3 (others are ignored).
void ChoosePollingRate(settings::ProfileRecord& profile, int rate);

// The colour dialog of the LED swatches; the Win32 side runs the skinned
// dialog, tests script the user's answer.
class ColorDialog {
  public:
    virtual ~ColorDialog() = default;
    // Opens seeded with `color`; true on OK with `color` set to the pick.
    virtual bool PickColor(std::uint32_t& color) = 0;
};

// LED swatch `led` (0..3): the colour dialog opens on that level's stored
// colour and OK stores the pick. True when the record changed.
bool EditLedColor(settings::ProfileRecord& profile, int led, ColorDialog& dialog);

}  // namespace option
