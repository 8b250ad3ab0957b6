#include "option/skin/state_images_win.h"

#include <algorithm>
#include <utility>

#include "option/skin/skin_loader_win.h"

namespace skin {

void StateImages::Cut(HWND reference, const RECT& r, HBITMAP normal, HBITMAP over, HBITMAP down,
                      HBITMAP disabled) {
    Clear();
    const std::array<HBITMAP, kCount> sheets{normal, over, down, disabled};
    for (std::size_t i = 0; i < kCount; ++i) images_[i].Reset(CutImage(reference, sheets[i], r));
}

void StateImages::CutWhenNeeded(const RECT& r, std::shared_ptr<const SkinSheets> sheets) {
    Clear();
    if (sheets == nullptr)
        return;
    sheets_ = std::move(sheets);
    uncut_.fill(true);
    rect_ = r;
}

void StateImages::Clear() {
    for (auto& image : images_) image.Reset();
    sheets_.reset();
    uncut_.fill(false);
}

HBITMAP StateImages::operator[](std::size_t state) const {
    if (state >= kCount)
        return nullptr;
    if (uncut_[state]) {
        uncut_[state] = false;
        images_[state].Reset(sheets_->Cut(static_cast<ButtonImage>(state), rect_));
        if (std::none_of(uncut_.begin(), uncut_.end(), [](bool b) { return b; }))
            sheets_.reset();
    }
    return images_[state].Get();
}

}  // namespace skin
