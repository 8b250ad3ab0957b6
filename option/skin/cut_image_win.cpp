// Cutting a control's state image out of a state sheet: through device
// contexts from any bitmap, or straight from the pixels of the loader's own
// sheets.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "common/win/scoped_win.h"
#include "option/skin/bitmap_facts_win.h"
#include "option/skin/skin_loader_win.h"

namespace skin {

HBITMAP CutImage(HWND reference, HBITMAP sheet, const RECT& r) {
    return CopyPicturePart(reference, sheet, r, SIZE{r.right - r.left, r.bottom - r.top}, 0);
}

HBITMAP CopyPicturePart(HWND reference, HBITMAP picture, const RECT& part, SIZE size,
                        int stretchMode) {
    const int w = part.right - part.left;
    const int h = part.bottom - part.top;
    if (picture == nullptr || w <= 0 || h <= 0 || size.cx <= 0 || size.cy <= 0)
        return nullptr;
    const win::ScopedWindowDc screen(reference);
    HBITMAP image = CreateCompatibleBitmap(screen.Get(), size.cx, size.cy);
    const win::ScopedDc from(CreateCompatibleDC(screen.Get()));
    const win::ScopedDc to(CreateCompatibleDC(screen.Get()));
    if (image != nullptr && from && to) {
        const win::ScopedSelect usePicture(from.Get(), picture);
        const win::ScopedSelect useImage(to.Get(), image);
        if (size.cx == w && size.cy == h) {
            BitBlt(to.Get(), 0, 0, w, h, from.Get(), part.left, part.top, SRCCOPY);
        } else {
            SetStretchBltMode(to.Get(), stretchMode);
            SetBrushOrgEx(to.Get(), 0, 0, nullptr);
            StretchBlt(to.Get(), 0, 0, size.cx, size.cy, from.Get(), part.left, part.top, w, h,
                       SRCCOPY);
        }
    }
    return image;
}

// The rectangle's rows are copied straight from the sheet's pixels, without
// a device context: each costs a trip to the display driver, and a skinned
// window cuts dozens of images. What lies outside the sheet stays black, as a
// block transfer leaves it.
HBITMAP CutTopDownSection(HBITMAP sheet, const RECT& r) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (sheet == nullptr || w <= 0 || h <= 0)
        return nullptr;
    DIBSECTION dib{};
    if (GetObjectA(sheet, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr ||
        dib.dsBm.bmBitsPixel != 32) {
        return nullptr;
    }
    const int sheetW = dib.dsBm.bmWidth;
    const int sheetH = dib.dsBm.bmHeight;
    void* bits = nullptr;
    HBITMAP image = MakeTopDownSection(w, h, bits);
    if (image == nullptr)
        return nullptr;
    const int x0 = std::max(0, static_cast<int>(r.left));
    const int x1 = std::min(sheetW, static_cast<int>(r.right));
    const int y0 = std::max(0, static_cast<int>(r.top));
    const int y1 = std::min(sheetH, static_cast<int>(r.bottom));
    const auto* from = static_cast<const BYTE*>(dib.dsBm.bmBits);
    auto* to = static_cast<BYTE*>(bits);
    for (int y = y0; x0 < x1 && y < y1; ++y) {
        std::memcpy(to + static_cast<std::size_t>(y - r.top) * w * 4 + (x0 - r.left) * 4,
                    from + static_cast<std::size_t>(y) * dib.dsBm.bmWidthBytes + x0 * 4,
                    static_cast<std::size_t>(x1 - x0) * 4);
    }
    return image;
}

}  // namespace skin
