#include "option/skin/bitmap_facts_win.h"

#include "common/win/scoped_win.h"

namespace skin {

HBITMAP LoadBitmapFile(const std::string& file) {
    return static_cast<HBITMAP>(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
    win::ScopedDc memory(CreateCompatibleDC(nullptr));
    win::ScopedSelect keep(memory.Get(), bitmap);
    return GetPixel(memory.Get(), x, y);
}

}  // namespace skin
