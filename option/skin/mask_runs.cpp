#include "option/skin/mask_runs.h"

#include <algorithm>
#include <climits>

namespace skin {
namespace {

constexpr RunRect kStartBounds{INT32_MAX, INT32_MAX, 0, 0};

std::uint8_t Upper(std::uint8_t key, std::uint8_t tolerance) {
    const int sum = key + tolerance;
    return static_cast<std::uint8_t>(sum > 255 ? 255 : sum);
}

}  // namespace

void CollectMaskRuns(const PixelView& pixels, Rgb key, Rgb tolerance, std::size_t batchLimit,
                     const std::function<void(const RunBatch&)>& flush) {
    const std::uint8_t hiR = Upper(key.r, tolerance.r);
    const std::uint8_t hiG = Upper(key.g, tolerance.g);
    const std::uint8_t hiB = Upper(key.b, tolerance.b);
    if (batchLimit == 0)
        batchLimit = kRunsPerRegion;

    std::vector<RunRect> rects;
    rects.reserve(kRunBufferStep);
    RunRect bounds = kStartBounds;

    for (int y = 0; y < pixels.height && pixels.bits != nullptr; ++y) {
        const int memoryRow = pixels.bottomUp ? pixels.height - 1 - y : y;
        const std::uint8_t* row =
            pixels.bits + static_cast<std::ptrdiff_t>(memoryRow) * pixels.stride;
        for (int x = 0; x < pixels.width; ++x) {
            const int x0 = x;
            while (x < pixels.width) {
                const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * 4;
                const bool transparent = p[2] >= key.r && p[2] <= hiR && p[1] >= key.g &&
                                         p[1] <= hiG && p[0] >= key.b && p[0] <= hiB;
                if (transparent)
                    break;
                ++x;
            }
            if (x > x0) {
                if (rects.size() == rects.capacity())
                    rects.reserve(rects.size() + kRunBufferStep);
                rects.push_back(RunRect{x0, y, x, y + 1});
                bounds.left = std::min(bounds.left, x0);
                bounds.top = std::min(bounds.top, y);
                bounds.right = std::max(bounds.right, x);
                bounds.bottom = std::max(bounds.bottom, y + 1);
                if (rects.size() == batchLimit) {
                    flush(RunBatch{rects, bounds});
                    rects.clear();
                    bounds = kStartBounds;
                }
            }
        }
    }
    flush(RunBatch{rects, bounds});
}

std::vector<RunRect> MaskRuns(const PixelView& pixels, Rgb key, Rgb tolerance) {
    std::vector<RunRect> all;
    CollectMaskRuns(pixels, key, tolerance, SIZE_MAX, [&](const RunBatch& batch) {
        all.insert(all.end(), batch.rects.begin(), batch.rects.end());
    });
    return all;
}

}  // namespace skin
