#include "common/win/message_key.h"

#include <gtest/gtest.h>

#include <array>

namespace win {
namespace {

constexpr std::uint32_t kCommand = 0x0111;
constexpr std::uint32_t kTimer = 0x0113;

MessageKey Plain(std::uint32_t msg) {
    return {msg, 0, 0, 0, false, nullptr};
}
MessageKey Control(std::uint32_t code, std::uint32_t first, std::uint32_t last) {
    return {kCommand, code, first, last, true, nullptr};
}
MessageKey Registered(const char* name) {
    return {0, 0, 0, 0, false, name};
}

TEST(RowsOverlap, PlainMessagesOverlapOnlyWhenEqual) {
    EXPECT_TRUE(RowsOverlap(Plain(kTimer), Plain(kTimer)));
    EXPECT_FALSE(RowsOverlap(Plain(kTimer), Plain(kTimer + 1)));
}

TEST(RowsOverlap, ControlRowsNeedMeetingCodesAndRanges) {
    EXPECT_TRUE(RowsOverlap(Control(kAnyCode, 6001, 6001), Control(0, 6001, 6001)));
    EXPECT_FALSE(RowsOverlap(Control(0, 6001, 6001), Control(1, 6001, 6001)));
    EXPECT_TRUE(RowsOverlap(Control(0, 100, 110), Control(0, 110, 120)));
    EXPECT_FALSE(RowsOverlap(Control(0, 100, 109), Control(0, 110, 120)));
    // A whole-message row shadows every control row of that message.
    EXPECT_TRUE(RowsOverlap(Plain(kCommand), Control(0, 5, 5)));
}

TEST(RowsOverlap, RegisteredMessagesCompareByName) {
    const char a[] = "TaskbarCreated";
    const char b[] = "TaskbarCreated";  // another copy of the same text
    EXPECT_TRUE(RowsOverlap(Registered(a), Registered(b)));
    EXPECT_FALSE(RowsOverlap(Registered(a), Registered("BitmapEdit_Change")));
    EXPECT_FALSE(RowsOverlap(Registered(a), Plain(0)));
}

TEST(FindOverlaps, ReportsEveryShadowedPair) {
    const std::array rows = {Plain(kTimer), Control(0, 1, 10), Control(kAnyCode, 10, 10),
                             Control(0, 11, 20), Plain(kTimer)};
    const auto found = FindOverlaps(rows);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], std::make_pair(std::size_t{0}, std::size_t{4}));
    EXPECT_EQ(found[1], std::make_pair(std::size_t{1}, std::size_t{2}));
}

}  // namespace
}  // namespace win
