#include "option/skin/state_images_win.h"

#include "option/skin/skin_loader_win.h"

namespace skin {

void StateImages::Cut(HWND reference, const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down,
                      HBITMAP disabled) {
    const std::array<HBITMAP, kCount> sheets{normal, over, down, disabled};
    for (std::size_t i = 0; i < kCount; ++i) images_[i].Reset(CutImage(reference, sheets[i], r));
}

void StateImages::Clear() {
    for (auto& image : images_) image.Reset();
}

}  // namespace skin
