#include "option/model/pages/advanced_fields.h"

#include <algorithm>

#include "option/model/pages/row_choice.h"

namespace option {
namespace {

constexpr std::int32_t kPointerSpeeds[] = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
constexpr std::int32_t kMiddlePointerSpeed = 10;
constexpr int kMiddlePointerPosition = 6;

int Clamp(std::int32_t value, SliderRange range) {
    return static_cast<int>(std::clamp<std::int32_t>(value, range.minimum, range.maximum));
}

}  // namespace

SliderRange AdvancedSliderRange(int id) {
    switch (id) {
        case kSliderOtgSpeed:
            return {2, 255};
        case kSliderSensitivityX:
        case kSliderSensitivityY:
        case kSliderPointerSpeed:
            return {1, 11};
        case kSliderWheelLines:
            return {1, 10};
        case kSliderTrails:
            return {2, 7};
        case kSliderCpiX:
        case kSliderCpiY:
            return {1, 160};
        default:
            return {0, 0};
    }
}

std::int32_t PointerSpeedFromPosition(int position) {
    if (position < 1 || position > static_cast<int>(std::size(kPointerSpeeds)))
        return kMiddlePointerSpeed;
    return kPointerSpeeds[position - 1];
}

int PositionFromPointerSpeed(std::int32_t stored) {
    // Two stored values share each position above 2; 9 and 10 (and anything
    // unknown) sit in the middle.
    if (stored == 0 || stored == 1)
        return 1;
    if (stored == 2)
        return 2;
    if (stored >= 3 && stored <= 8)
        return 3 + (stored - 3) / 2;
    if (stored >= 11 && stored <= 20)
        return 7 + (stored - 11) / 2;
    return kMiddlePointerPosition;
}

int ShownLevel(std::int32_t cpiStep) {
    return std::clamp<std::int32_t>(cpiStep, 0, kCpiLevelsShown - 1);
}

AdvancedView AdvancedViewOf(const settings::ProfileRecord& p) {
    const int level = ShownLevel(p.CpiStep);
    AdvancedView v{};
    v.pollingRate = std::clamp<std::int32_t>(p.PollingRate, 0, kPollingRateCount - 1);
    v.level = level;
    v.cpiX = Clamp(p.CpiLevel_X[level], AdvancedSliderRange(kSliderCpiX));
    v.cpiY = Clamp(p.CpiLevel_Y[level], AdvancedSliderRange(kSliderCpiY));
    v.separateCpi = p.XYCpiFlag != 0;
    v.sensitivityX = Clamp(p.Sensitivity_X, AdvancedSliderRange(kSliderSensitivityX));
    v.sensitivityY = Clamp(p.Sensitivity_Y, AdvancedSliderRange(kSliderSensitivityY));
    v.linkSensitivity = p.XYSynchronous == 1;
    v.pointerSpeed = PositionFromPointerSpeed(p.MouseSpeed);
    v.acceleration = p.AccelerationFlag == 1;
    v.trailsLength = Clamp(p.MouseTrails, AdvancedSliderRange(kSliderTrails));
    v.trails = p.bMouseTrails == 1;
    v.wheelLines = Clamp(p.ScrollWheelSpeed, AdvancedSliderRange(kSliderWheelLines));
    v.pageScroll = p.ScrollWheelFlag == 1;
    v.otgSpeed = Clamp(p.OTGSpeed, AdvancedSliderRange(kSliderOtgSpeed));
    std::copy(std::begin(p.LedDPIColor), std::end(p.LedDPIColor), v.ledColors.begin());
    return v;
}

void MoveAdvancedSlider(settings::ProfileRecord& p, int id, int position) {
    const SliderRange range = AdvancedSliderRange(id);
    const std::int32_t value = std::clamp(position, range.minimum, range.maximum);
    const int level = ShownLevel(p.CpiStep);
    switch (id) {
        case kSliderOtgSpeed:
            p.OTGSpeed = value;
            break;
        case kSliderSensitivityX:
            p.Sensitivity_X = value;
            if (p.XYSynchronous == 1)
                p.Sensitivity_Y = value;
            break;
        case kSliderSensitivityY:
            p.Sensitivity_Y = value;
            if (p.XYSynchronous == 1)
                p.Sensitivity_X = value;
            break;
        case kSliderPointerSpeed:
            // The table itself decides what a position outside it stores.
            p.MouseSpeed = PointerSpeedFromPosition(position);
            break;
        case kSliderWheelLines:
            p.ScrollWheelSpeed = value;
            break;
        case kSliderTrails:
            p.MouseTrails = value;
            break;
        case kSliderCpiX:
            p.CpiLevel_X[level] = value;
            if (p.XYCpiFlag == 0)
                p.CpiLevel_Y[level] = value;
            break;
        case kSliderCpiY:
            p.CpiLevel_Y[level] = value;
            if (p.XYCpiFlag == 0)
                p.CpiLevel_X[level] = value;
            break;
        default:
            break;
    }
}

void SetAdvancedCheck(settings::ProfileRecord& p, AdvancedCheck check, bool checked) {
    const std::int32_t flag = checked ? 1 : 0;
    const int level = ShownLevel(p.CpiStep);
    switch (check) {
        case AdvancedCheck::SeparateCpi:
            p.XYCpiFlag = flag;
            if (!checked && p.CpiLevel_Y[level] != p.CpiLevel_X[level])
                p.CpiLevel_Y[level] = p.CpiLevel_X[level];
            break;
        case AdvancedCheck::LinkSensitivity:
            p.XYSynchronous = flag;
            if (checked && p.Sensitivity_Y != p.Sensitivity_X)
                p.Sensitivity_Y = p.Sensitivity_X;
            break;
        case AdvancedCheck::Acceleration:
            p.AccelerationFlag = flag;
            p.Acceleration = checked ? kAccelerationWhenOn : 0;
            break;
        case AdvancedCheck::Trails:
            p.bMouseTrails = flag;
            break;
        case AdvancedCheck::PageScroll:
            p.ScrollWheelFlag = flag;
            break;
    }
}

void ChooseCpiLevel(settings::ProfileRecord& p, int level) {
    StoreRowChoice(p.CpiStep, level, kCpiLevelsShown);
}

void ChoosePollingRate(settings::ProfileRecord& p, int rate) {
    StoreRowChoice(p.PollingRate, rate, kPollingRateCount);
}

bool EditLedColor(settings::ProfileRecord& p, int led, ColorDialog& dialog) {
    if (led < 0 || led >= static_cast<int>(std::size(p.LedDPIColor)))
        return false;
    std::uint32_t color = p.LedDPIColor[led];
    if (!dialog.PickColor(color))
        return false;
    p.LedDPIColor[led] = color & 0x00FFFFFFu;
    return true;
}

}  // namespace option
