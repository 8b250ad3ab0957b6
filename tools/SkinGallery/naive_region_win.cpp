#include "tools/SkinGallery/naive_region_win.h"

#include "common/win/scoped_win.h"

namespace gallery {

HRGN NaiveRegionFromMask(HBITMAP mask, COLORREF key) {
    BITMAP info{};
    if (mask == nullptr || GetObjectA(mask, sizeof info, &info) == 0)
        return nullptr;
    const int w = info.bmWidth;
    const int h = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    const win::ScopedDc memory(CreateCompatibleDC(nullptr));
    const HDC dc = memory.Get();
    const win::ScopedSelect useMask(dc, mask);
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            while (x < w && (GetPixel(dc, x, y) & 0xFFFFFF) == key) ++x;
            const int start = x;
            while (x < w && (GetPixel(dc, x, y) & 0xFFFFFF) != key) ++x;
            if (x > start) {
                const win::ScopedGdi<HRGN> run(CreateRectRgn(start, y, x, y + 1));
                CombineRgn(result, result, run.Get(), RGN_OR);
            }
        }
    }
    return result;
}

}  // namespace gallery
