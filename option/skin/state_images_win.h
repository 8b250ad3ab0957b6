// The four state images of a skinned button (normal, over, down, disabled),
// cut from the skin's four sheets and owned here.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>

#include "common/win/scoped_win.h"

namespace skin {

class SkinSheets;

class StateImages {
  public:
    static constexpr std::size_t kCount = 4;

    // Replaces the images with the rectangle `r` (client coordinates of the
    // sheets' window) of each sheet; an empty sheet gives no image.
    void Cut(HWND reference, const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down,
             HBITMAP disabled);
    // The same, but each image is cut when it is first asked for: a state
    // that is never shown costs neither its cut nor, when no other control
    // shows it either, the decoding of its sheet. The sheets are kept until
    // all four images are cut.
    void CutWhenNeeded(const RECT& r, std::shared_ptr<const SkinSheets> sheets);
    void Clear();
    HBITMAP operator[](std::size_t state) const;

  private:
    mutable std::array<win::ScopedGdi<HBITMAP>, kCount> images_;
    mutable std::shared_ptr<const SkinSheets> sheets_;
    mutable std::array<bool, kCount> uncut_{};
    RECT rect_{};
};

}  // namespace skin
