#include "tools/SkinGallery/naive_region_win.h"

namespace gallery {

HRGN NaiveRegionFromMask(HBITMAP mask, COLORREF key) {
    BITMAP info{};
    if (mask == nullptr || GetObjectA(mask, sizeof info, &info) == 0)
        return nullptr;
    const int w = info.bmWidth;
    const int h = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            while (x < w && (GetPixel(dc, x, y) & 0xFFFFFF) == key) ++x;
            const int start = x;
            while (x < w && (GetPixel(dc, x, y) & 0xFFFFFF) != key) ++x;
            if (x > start) {
                HRGN run = CreateRectRgn(start, y, x, y + 1);
                CombineRgn(result, result, run, RGN_OR);
                DeleteObject(run);
            }
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return result;
}

}  // namespace gallery
