#include "option/skin/button_pos.h"

#include <gtest/gtest.h>

#include <array>
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

// A value as the skin description gives it, and the name, rectangle (left,
// top, right, bottom) and caption read from it.
struct PosCase {
    const char* value;
    const char* name;
    std::array<int, 4> rect;
    const char* caption;
};

constexpr PosCase kPosCases[] = {
    // A trailing comma gives an empty caption.
    {"browser1,281,172,30,20,", "browser1", {281, 172, 311, 192}, ""},
    // Spaces before the numbers and around the caption are ignored.
    {"ok, 10, 20, 30, 40, Apply all \t", "ok", {10, 20, 40, 60}, "Apply all"},
    {"edge,-5,-7,10,12,Hint", "edge", {-5, -7, 5, 5}, "Hint"},
    // The caption is only the text after the last comma.
    {"b,1,2,3,4,first part, second part", "b", {1, 2, 4, 6}, "second part"},
    // Five fields take the height as the caption.
    {"b,1,2,3,45", "b", {1, 2, 4, 47}, "45"},
    // No comma: no name, and the whole value is the caption.
    {"  just a hint  ", "", {0, 0, 0, 0}, "just a hint"},
    {"42abc", "", {42, 0, 42, 0}, "42abc"},
    {"", "", {0, 0, 0, 0}, ""},
    // The pattern stops at the first field that is not a number.
    {"n,5,x,7,8,c", "n", {5, 0, 5, 0}, "c"},
};

TEST(ParseButtonPos, NameRectangleAndCaptionOfEachForm) {
    for (const PosCase& c : kPosCases) {
        SCOPED_TRACE(c.value);
        const ButtonPos p = Parse(c.value);
        EXPECT_STREQ(p.name, c.name);
        ExpectRect(p, c.rect[0], c.rect[1], c.rect[2], c.rect[3]);
        EXPECT_STREQ(p.caption, c.caption);
    }
    EXPECT_EQ(Parse(kPosCases[0].value).state, 0);
}

TEST(ParseButtonPos, OverlongNameAndCaptionAreCutToFit) {
    const std::string longName(60, 'n');
    const std::string longCaption(500, 'c');
    const ButtonPos p = Parse(longName + ",1,1,1,1," + longCaption);
    EXPECT_EQ(std::strlen(p.name), 39u);
    EXPECT_EQ(std::strlen(p.caption), 399u);
    ExpectRect(p, 1, 1, 2, 2);

    // A caption in the user's language is cut before the character that
    // would not fit: 133 three-byte characters fill 399 bytes, the 134th is
    // left out whole.
    ButtonPos named = p;
    std::string japanese;
    for (int i = 0; i < 134; ++i) japanese += "\xE8\xA8\xAD";
    SetCaption(named, japanese);
    EXPECT_EQ(std::string(named.caption), japanese.substr(0, 399));
    SetCaption(named, "x" + japanese);
    EXPECT_EQ(std::string(named.caption), "x" + japanese.substr(0, 396));
    SetCaption(named, "short");
    EXPECT_STREQ(named.caption, "short");
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
