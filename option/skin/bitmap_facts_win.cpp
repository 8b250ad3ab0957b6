#include "option/skin/bitmap_facts_win.h"

#include "common/win/scoped_win.h"

namespace skin {

HBITMAP LoadBitmapFile(const std::string& file) {
    return static_cast<HBITMAP>(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

HBITMAP MakeTopDownSection(int w, int h, void*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr)
        bits = nullptr;
    return section;
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

void BlitImage(HDC dc, HBITMAP image, int w, int h) {
    if (image == nullptr)
        return;
    const win::ScopedDc source(CreateCompatibleDC(dc));
    const win::ScopedSelect useImage(source.Get(), image);
    BitBlt(dc, 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
}

}  // namespace skin
