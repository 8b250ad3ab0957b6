// The value controls the settings pages make from their skins and keep in
// step with the current profile: track sliders, the plates that show a
// slider's number, and latching buttons.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "option/skin/button_pos.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_label_win.h"
#include "option/skin/slider_track_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

// A page's sliders, reached by their control ids, which run on from
// `FirstId`.
template <std::size_t N, int FirstId>
class PageSliders {
  public:
    skin::SliderTrack& ById(int id) { return tracks_[static_cast<std::size_t>(id - FirstId)]; }

  private:
    std::array<skin::SliderTrack, N> tracks_;
};

// A rounding track slider at the placement `pos` with the thumb "slider.bmp"
// of the skins folder, the track cut from the Normal sheet and the caption
// as hint, standing at `minimum`. Its messages carry `sliderId`.
void MakePageSlider(skin::SliderTrack& slider, HWND page, int sliderId, int minimum, int maximum,
                    const skin::ButtonPos& pos, const skin::SkinSheets& sheets);

// The grey plate under a slider that shows its number.
void MakeValuePlate(skin::CSkinLabel& plate, HWND page, UINT id, const skin::ButtonPos& pos);

// Moves a made slider to `value`. The slider a user drags already stands
// where it reported; moving it again would fight the drag.
void ShowSliderValue(skin::SliderTrack& slider, int value);

// Writes `value` on a made plate when it shows another text.
void ShowNumber(skin::CSkinLabel& plate, int value);

// Latches or releases a made button.
void ShowLatched(skin::CSkinButton& button, bool on);

}  // namespace option
