// The runs of a shape mask: for every row, the horizontal stretches of pixels
// that are not of the key colour. The Win32 side turns batches of these runs
// into regions; the walk itself is plain code so it can be checked natively.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace skin {

struct Rgb {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
};

struct RunRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
    friend bool operator==(const RunRect&, const RunRect&) = default;
};

// A batch of runs with its bounding box, as region data wants it.
struct RunBatch {
    std::span<const RunRect> rects;
    RunRect bounds;
};

inline constexpr std::size_t kRunsPerRegion = 2000;
inline constexpr std::size_t kRunBufferStep = 100;

// A 32-bpp picture as a DIB section holds it: blue, green, red, unused per
// pixel, rows `stride` bytes apart. With `bottomUp` the first row in memory
// is the bottom row of the picture.
struct PixelView {
    const std::uint8_t* bits;
    int width;
    int height;
    int stride;
    bool bottomUp;
};

// Row length of a 32-bpp row rounded up to four bytes.
inline int RowStride32(int width) {
    return ((width * 32 + 31) / 32) * 4;
}

// Walks rows top to bottom and hands `flush` one batch each time
// `batchLimit` runs are collected, and the rest at the end (an empty final
// batch is still handed over so the caller sees the end). A pixel is
// transparent when each channel lies in key..min(key + tolerance, 255).
void CollectMaskRuns(const PixelView& pixels, Rgb key, Rgb tolerance, std::size_t batchLimit,
                     const std::function<void(const RunBatch&)>& flush);

// All runs in one list (for tests and for callers without batching).
std::vector<RunRect> MaskRuns(const PixelView& pixels, Rgb key, Rgb tolerance);

}  // namespace skin
