// The four state images of a skinned button (normal, over, down, disabled),
// cut from the skin's four sheets and owned here.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "common/win/scoped_win.h"

namespace skin {

class StateImages {
  public:
    static constexpr std::size_t kCount = 4;

    // Replaces the images with the rectangle `r` (client coordinates of the
    // sheets' window) of each sheet; an empty sheet gives no image.
    void Cut(HWND reference, const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down,
             HBITMAP disabled);
    void Clear();
    HBITMAP operator[](std::size_t state) const { return images_[state].Get(); }

  private:
    std::array<win::ScopedGdi<HBITMAP>, kCount> images_;
};

}  // namespace skin
