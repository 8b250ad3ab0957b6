#include "option/skin/accessible_text.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

// The CPI sliders hold levels of 100 CPI; the reader hears what the plate
// beside them shows, and the channels of a colour in red, green, blue order
// (a COLORREF keeps red in its low byte).
TEST(AccessibleText, ValuesInTheUnitShownAndColoursByChannel) {
    const ValueUnit cpi{100, "CPI"};
    EXPECT_EQ(ValueText(4, cpi), "400 CPI");
    EXPECT_EQ(RangeText(1, 160, cpi), "from 100 to 16000 CPI");
    EXPECT_EQ(ValueText(7, ValueUnit{}), "7");
    EXPECT_EQ(ColorText(0x000000FFu), "red 255, green 0, blue 0");
    EXPECT_EQ(ColorText(0x00563412u), "red 18, green 52, blue 86");
}

}  // namespace
}  // namespace skin
