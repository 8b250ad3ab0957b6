#include "option/skin/scale_sets.h"

#include <gtest/gtest.h>

#include <vector>

namespace skin {
namespace {

std::vector<int> Order(int percent) {
    const ScaleSetOrder order(percent);
    return {order.Sets().begin(), order.Sets().end()};
}

TEST(ScaleSetOrder, NearestSetAtOrAboveFirstThenEverySmallerOneDownToHundred) {
    EXPECT_EQ(Order(100), (std::vector<int>{100}));
    EXPECT_EQ(Order(110), (std::vector<int>{125, 100}));
    EXPECT_EQ(Order(125), (std::vector<int>{125, 100}));
    EXPECT_EQ(Order(150), (std::vector<int>{150, 125, 100}));
    EXPECT_EQ(Order(151), (std::vector<int>{175, 150, 125, 100}));
    EXPECT_EQ(Order(200), (std::vector<int>{200, 175, 150, 125, 100}));
    // Beyond the largest set, and below the smallest.
    EXPECT_EQ(Order(300), (std::vector<int>{200, 175, 150, 125, 100}));
    EXPECT_EQ(Order(75), (std::vector<int>{100}));
    EXPECT_EQ(Order(0), (std::vector<int>{100}));
}

TEST(ScaleSetOrder, HundredPercentIsTheSkinsFolderItself) {
    EXPECT_EQ(ScaleSetSubfolder(100), "");
    EXPECT_EQ(ScaleSetSubfolder(175), "175\\");
}

}  // namespace
}  // namespace skin
