#include "option/skin/region_win.h"

#include <cstring>
#include <utility>
#include <vector>

#include "common/win/scoped_win.h"
#include "option/skin/mask_runs.h"

namespace skin {
namespace {

// Region data for one batch: the header followed by the rectangles.
HRGN RegionFromBatch(const RunBatch& batch) {
    const std::size_t count = batch.rects.size();
    std::vector<unsigned char> buffer(sizeof(RGNDATAHEADER) + count * sizeof(RECT), 0);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    if (count == 0) {
        SetRect(&data->rdh.rcBound, 0, 0, 0, 0);
    } else {
        SetRect(&data->rdh.rcBound, batch.bounds.left, batch.bounds.top, batch.bounds.right,
                batch.bounds.bottom);
    }
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < count; ++i) {
        const RunRect& r = batch.rects[i];
        rects[i] = RECT{r.left, r.top, r.right, r.bottom};
    }
    return ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

}  // namespace

HRGN CreateRegionFromMask(HBITMAP mask, COLORREF key, COLORREF tolerance) {
    if (mask == nullptr)
        return nullptr;
    const win::ScopedDc memoryDc(CreateCompatibleDC(nullptr));
    const HDC memory = memoryDc.Get();
    if (memory == nullptr)
        return nullptr;
    BITMAP info{};
    if (GetObjectA(mask, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight == 0)
        return nullptr;
    const int width = info.bmWidth;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;

    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;  // bottom-up
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const win::ScopedGdi<HBITMAP> section(
        CreateDIBSection(memory, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || bits == nullptr)
        return nullptr;
    const win::ScopedSelect useSection(memory, section.Get());
    {
        const win::ScopedDc source(CreateCompatibleDC(memory));
        if (source) {
            const win::ScopedSelect useMask(source.Get(), mask);
            BitBlt(memory, 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
        }
    }
    GdiFlush();

    win::ScopedGdi<HRGN> result;
    const PixelView view{static_cast<const std::uint8_t*>(bits), width, height, RowStride32(width),
                         true};
    const Rgb k{GetRValue(key), GetGValue(key), GetBValue(key)};
    const Rgb t{GetRValue(tolerance), GetGValue(tolerance), GetBValue(tolerance)};
    CollectMaskRuns(view, k, t, kRunsPerRegion, [&](const RunBatch& batch) {
        win::ScopedGdi<HRGN> part(RegionFromBatch(batch));
        if (!part)
            return;
        if (!result)
            result = std::move(part);
        else
            CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    });
    return result.Release();
}

}  // namespace skin
