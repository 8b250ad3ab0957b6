// CreateRegionFromMask on an 800 x 600 mask with a complex outline, against
// the pixel-by-pixel builder (GetPixel per pixel, CombineRgn per run).
#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/win/dib_win.h"
#include "option/skin/region_win.h"
#include "option/skin/skin_loader_win.h"
#include "tools/SkinGallery/naive_region_win.h"
#include "tools/SkinGallery/test_skin.h"

namespace {

// A wavy blob with holes: many runs per row.
bool Inside(int x, int y) {
    const double cx = x - 400.0, cy = y - 300.0;
    const double angle = std::atan2(cy, cx);
    const double radius = 250.0 + 30.0 * std::sin(angle * 12.0) + 12.0 * std::cos(angle * 37.0);
    if (std::sqrt(cx * cx + cy * cy) > radius)
        return false;
    return ((x / 6 + y / 6) % 4) != 0 || ((x + y) % 3) != 0;
}

HBITMAP MakeMask(int w, int h) {
    BITMAPINFO bmi = win::TopDownRgb32(w, h);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* p = static_cast<unsigned int*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p[y * w + x] = Inside(x, y) ? 0x00000000u : 0x00FFFFFFu;
    GdiFlush();
    return bitmap;
}

double Millis(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main() {
    const int w = 800, h = 600;
    HBITMAP mask = MakeMask(w, h);
    if (mask == nullptr) {
        std::printf("skin_region: cannot make the mask\n");
        return 0;
    }
    const double megapixels = w * h / 1e6;

    const int fastRuns = 10;
    auto t0 = std::chrono::steady_clock::now();
    HRGN fast = nullptr;
    for (int i = 0; i < fastRuns; ++i) {
        if (fast != nullptr)
            DeleteObject(fast);
        fast = skin::CreateRegionFromMask(mask, RGB(255, 255, 255), 0);
    }
    const double fastMs = Millis(std::chrono::steady_clock::now() - t0) / fastRuns;

    t0 = std::chrono::steady_clock::now();
    HRGN naive = gallery::NaiveRegionFromMask(mask, RGB(255, 255, 255));
    const double naiveMs = Millis(std::chrono::steady_clock::now() - t0);

    DWORD rects = 0;
    if (fast != nullptr) {
        const DWORD bytes = GetRegionData(fast, 0, nullptr);
        std::vector<unsigned char> data(bytes);
        if (bytes != 0 && GetRegionData(fast, bytes, reinterpret_cast<RGNDATA*>(data.data())) != 0)
            rects = reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount;
    }
    std::printf("skin_region: mask %dx%d, region of %lu rectangles, same as baseline: %s\n", w, h,
                static_cast<unsigned long>(rects),
                fast != nullptr && naive != nullptr && EqualRgn(fast, naive) ? "yes" : "NO");
    std::printf("skin_region: CreateRegionFromMask %.2f ms (%.1f Mpixel/s), mean of %d\n", fastMs,
                megapixels / (fastMs / 1000.0), fastRuns);
    std::printf("skin_region: baseline GetPixel+CombineRgn %.2f ms (%.2f Mpixel/s)\n", naiveMs,
                megapixels / (naiveMs / 1000.0));
    std::printf("skin_region: speed-up %.1fx\n", naiveMs / fastMs);

    // Loading a skin picture of that size through the picture service.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "skin_bench_picture.bmp";
    gallery::WriteBmp24(path, w, h, [](int x, int y) {
        return gallery::Color{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 90};
    });
    skin::SkinBitmap picture;
    SIZE size{};
    const int loads = 10;
    t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < loads; ++i) skin::LoadSkinPicture(path, picture, size);
    const double loadMs = Millis(std::chrono::steady_clock::now() - t0) / loads;
    t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < loads; ++i) {
        HBITMAP b = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                    LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        DeleteObject(b);
    }
    const double plainMs = Millis(std::chrono::steady_clock::now() - t0) / loads;
    std::printf(
        "skin_region: LoadSkinPicture %dx%d %.2f ms; LoadImage baseline %.2f ms; ratio %.2f\n",
        static_cast<int>(size.cx), static_cast<int>(size.cy), loadMs, plainMs, loadMs / plainMs);
    DeleteFileA(path.c_str());

    if (fast != nullptr)
        DeleteObject(fast);
    if (naive != nullptr)
        DeleteObject(naive);
    DeleteObject(mask);
    return 0;
}
