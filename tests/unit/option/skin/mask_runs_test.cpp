#include "option/skin/mask_runs.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace skin {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kNoTolerance{0, 0, 0};

// A top-down 32-bpp picture filled white; Set writes one pixel.
struct Picture {
    int width, height;
    std::vector<std::uint8_t> bits;
    Picture(int w, int h) : width(w), height(h), bits(static_cast<std::size_t>(w) * h * 4, 255) {}
    void Set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        std::uint8_t* p = &bits[(static_cast<std::size_t>(y) * width + x) * 4];
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    PixelView View() const { return {bits.data(), width, height, width * 4, false}; }
};

std::set<std::pair<int, int>> Covered(const std::vector<RunRect>& rects) {
    std::set<std::pair<int, int>> cells;
    for (const auto& r : rects)
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) cells.insert({x, y});
    return cells;
}

TEST(MaskRuns, AllWhiteGivesNoRuns) {
    Picture pic(16, 9);
    EXPECT_TRUE(MaskRuns(pic.View(), kWhite, kNoTolerance).empty());
}

TEST(MaskRuns, SingleBlackPixelAtOrigin) {
    Picture pic(8, 8);
    pic.Set(0, 0, 0, 0, 0);
    EXPECT_EQ(MaskRuns(pic.View(), kWhite, kNoTolerance), (std::vector<RunRect>{{0, 0, 1, 1}}));
}

TEST(MaskRuns, NearWhiteIsInsideUnlessToleranceCoversIt) {
    Picture pic(4, 1);
    pic.Set(2, 0, 255, 255, 254);
    EXPECT_EQ(MaskRuns(pic.View(), kWhite, kNoTolerance), (std::vector<RunRect>{{2, 0, 3, 1}}));

    // Key 254 with tolerance 1 on blue: both 254 and 255 are transparent.
    EXPECT_TRUE(MaskRuns(pic.View(), Rgb{255, 255, 254}, Rgb{0, 0, 1}).empty());
    // Tolerance is capped at 255 and cannot wrap round to dark values.
    Picture dark(1, 1);
    dark.Set(0, 0, 0, 0, 0);
    EXPECT_EQ(MaskRuns(dark.View(), kWhite, Rgb{255, 255, 255}).size(), 1u);
}

TEST(MaskRuns, RunsSpanRowsAndEndAtRowEnd) {
    Picture pic(6, 2);
    for (int x = 1; x < 6; ++x) pic.Set(x, 0, 10, 20, 30);
    pic.Set(0, 1, 1, 1, 1);
    pic.Set(2, 1, 1, 1, 1);
    pic.Set(3, 1, 1, 1, 1);
    const auto runs = MaskRuns(pic.View(), kWhite, kNoTolerance);
    const std::vector<RunRect> expected{{1, 0, 6, 1}, {0, 1, 1, 2}, {2, 1, 4, 2}};
    EXPECT_EQ(runs, expected);
}

TEST(MaskRuns, BottomUpRowsAreReadFromTheTop) {
    // Memory row 0 of a bottom-up picture is the bottom of the picture.
    Picture pic(3, 3);
    pic.Set(1, 0, 0, 0, 0);  // memory row 0
    PixelView view = pic.View();
    view.bottomUp = true;
    const auto runs = MaskRuns(view, kWhite, kNoTolerance);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (RunRect{1, 2, 2, 3}));
}

TEST(MaskRuns, BatchesCoverTheSameRunsAsOnePass) {
    // A checkerboard of 201 x 61 has three batches of single-pixel runs.
    Picture pic(201, 61);
    for (int y = 0; y < pic.height; ++y)
        for (int x = (y & 1); x < pic.width; x += 2) pic.Set(x, y, 0, 0, 0);
    const auto single = MaskRuns(pic.View(), kWhite, kNoTolerance);
    ASSERT_GT(single.size(), 2 * kRunsPerRegion);

    std::vector<RunRect> batched;
    std::vector<std::size_t> sizes;
    CollectMaskRuns(pic.View(), kWhite, kNoTolerance, kRunsPerRegion, [&](const RunBatch& b) {
        sizes.push_back(b.rects.size());
        for (const auto& r : b.rects) {
            EXPECT_GE(r.left, b.bounds.left);
            EXPECT_GE(r.top, b.bounds.top);
            EXPECT_LE(r.right, b.bounds.right);
            EXPECT_LE(r.bottom, b.bounds.bottom);
        }
        batched.insert(batched.end(), b.rects.begin(), b.rects.end());
    });
    ASSERT_EQ(sizes.size(), single.size() / kRunsPerRegion + 1);
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], kRunsPerRegion);
    EXPECT_EQ(Covered(batched), Covered(single));
    EXPECT_EQ(batched, single);
}

TEST(MaskRuns, StrideWithPaddingIsHonoured) {
    EXPECT_EQ(RowStride32(3), 12);
    // Rows 16 bytes apart although only 2 pixels wide: the padding is not a pixel.
    std::vector<std::uint8_t> bits(32, 255);
    bits[8] = bits[9] = bits[10] = 0;  // padding of row 0
    bits[16 + 4] = 0;                  // pixel (1, 1): blue 0
    const auto runs = MaskRuns({bits.data(), 2, 2, 16, false}, kWhite, kNoTolerance);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (RunRect{1, 1, 2, 2}));
}

}  // namespace
}  // namespace skin
