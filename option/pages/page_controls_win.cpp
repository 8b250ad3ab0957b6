#include "option/pages/page_controls_win.h"

#include <string>

namespace option {
namespace {

constexpr COLORREF kValuePlateColor = 0x00DEDAD6;

}  // namespace

void MakePageSlider(skin::SliderTrack& slider, HWND page, int sliderId, int minimum, int maximum,
                    const skin::ButtonPos& pos, const skin::SkinSheets& sheets) {
    const RECT r = skin::ToRect(pos.rect);
    if (!slider.Create(skin::SkinFolder() + "slider.bmp", r, page, static_cast<UINT>(sliderId)))
        return;
    slider.SetRange(minimum, maximum);
    slider.SetRounding(true);
    slider.SetPos(minimum);
    slider.SetTrackImage(r, sheets.Get(skin::ButtonImage::Normal));
    slider.SetHint(pos.caption);
}

void MakeValuePlate(skin::CSkinLabel& plate, HWND page, UINT id, const skin::ButtonPos& pos) {
    plate.Create(skin::ToRect(pos.rect), page, id);
    plate.SetBackColor(kValuePlateColor);
    plate.SetHint(pos.caption);
}

void ShowSliderValue(skin::SliderTrack& slider, int value) {
    if (slider.Hwnd() != nullptr && slider.Pos() != value)
        slider.SetPos(value);
}

void ShowNumber(skin::CSkinLabel& plate, int value) {
    const std::string text = std::to_string(value);
    if (plate.Hwnd() != nullptr && plate.Text() != text)
        plate.SetText(text);
}

void ShowLatched(skin::CSkinButton& button, bool on) {
    if (button.Hwnd() != nullptr)
        button.SetLatched(on);
}

}  // namespace option
