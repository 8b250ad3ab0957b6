#include "option/skin/button_pos.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace skin {
namespace {

ButtonPos Parse(std::string_view value) {
    ButtonPos pos;
    std::memset(&pos, 0x5A, sizeof pos);  // stale content must not survive
    EXPECT_EQ(ParseButtonPos(value, pos), 1);
    return pos;
}

void ExpectRect(const ButtonPos& p, int l, int t, int r, int b) {
    EXPECT_EQ(p.rect.left, l);
    EXPECT_EQ(p.rect.top, t);
    EXPECT_EQ(p.rect.right, r);
    EXPECT_EQ(p.rect.bottom, b);
}

TEST(ParseButtonPos, TrailingCommaGivesEmptyCaption) {
    const ButtonPos p = Parse("browser1,281,172,30,20,");
    EXPECT_STREQ(p.name, "browser1");
    ExpectRect(p, 281, 172, 311, 192);
    EXPECT_STREQ(p.caption, "");
    EXPECT_EQ(p.state, 0);
}

TEST(ParseButtonPos, SpacesBeforeNumbersAndAroundCaptionAreIgnored) {
    const ButtonPos p = Parse("ok, 10, 20, 30, 40, Apply all \t");
    EXPECT_STREQ(p.name, "ok");
    ExpectRect(p, 10, 20, 40, 60);
    EXPECT_STREQ(p.caption, "Apply all");
}

TEST(ParseButtonPos, NegativePositions) {
    const ButtonPos p = Parse("edge,-5,-7,10,12,Hint");
    ExpectRect(p, -5, -7, 5, 5);
    EXPECT_STREQ(p.caption, "Hint");
}

TEST(ParseButtonPos, CaptionIsOnlyTheTextAfterTheLastComma) {
    const ButtonPos p = Parse("b,1,2,3,4,first part, second part");
    ExpectRect(p, 1, 2, 4, 6);
    EXPECT_STREQ(p.caption, "second part");
}

TEST(ParseButtonPos, FiveFieldsTakeTheHeightAsCaption) {
    const ButtonPos p = Parse("b,1,2,3,45");
    ExpectRect(p, 1, 2, 4, 47);
    EXPECT_STREQ(p.caption, "45");
}

TEST(ParseButtonPos, NoCommaLeavesNameEmptyAndTakesWholeValueAsCaption) {
    const ButtonPos words = Parse("  just a hint  ");
    EXPECT_STREQ(words.name, "");
    ExpectRect(words, 0, 0, 0, 0);
    EXPECT_STREQ(words.caption, "just a hint");

    const ButtonPos digits = Parse("42abc");
    EXPECT_STREQ(digits.name, "");
    ExpectRect(digits, 42, 0, 42, 0);
    EXPECT_STREQ(digits.caption, "42abc");
}

TEST(ParseButtonPos, EmptyAndMissingNumbersAreZero) {
    const ButtonPos empty = Parse("");
    EXPECT_STREQ(empty.name, "");
    ExpectRect(empty, 0, 0, 0, 0);
    EXPECT_STREQ(empty.caption, "");

    // The pattern stops at the first field that is not a number.
    const ButtonPos partial = Parse("n,5,x,7,8,c");
    ExpectRect(partial, 5, 0, 5, 0);
    EXPECT_STREQ(partial.caption, "c");
}

TEST(ParseButtonPos, OverlongNameAndCaptionAreCutToFit) {
    const std::string longName(60, 'n');
    const std::string longCaption(500, 'c');
    const ButtonPos p = Parse(longName + ",1,1,1,1," + longCaption);
    EXPECT_EQ(std::strlen(p.name), 39u);
    EXPECT_EQ(std::strlen(p.caption), 399u);
    ExpectRect(p, 1, 1, 2, 2);
}

TEST(ParseButtonPos, HugeNumbersDoNotOverflow) {
    const ButtonPos p = Parse("n,99999999999,0,5,5,");
    EXPECT_EQ(p.rect.left, INT32_MAX);
    EXPECT_EQ(p.rect.bottom, 5);
}

TEST(ParseButtonPos, WidthAndHeightOfFarOffPlacementsAreTheGivenOnes) {
    // Right and bottom wrap past the 32-bit limits; the sizes must not.
    const ButtonPos p = Parse("n,2147483647,-2147483648,2147483647,-5,");
    EXPECT_EQ(Width(p.rect), INT32_MAX);
    EXPECT_EQ(Height(p.rect), -5);
    const ButtonPos q = Parse("n,-2,10,2147483647,7,");
    EXPECT_EQ(Width(q.rect), INT32_MAX);
    EXPECT_EQ(Height(q.rect), 7);
}

}  // namespace
}  // namespace skin
