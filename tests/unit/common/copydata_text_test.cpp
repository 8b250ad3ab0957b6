#include "common/copydata_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace protocol {
namespace {

std::vector<std::byte> Block(std::size_t size, const char* text, std::byte fill = std::byte{'x'}) {
    std::vector<std::byte> data(size, fill);
    if (text != nullptr && size > 1)
        std::memcpy(data.data() + 1, text, std::strlen(text) + 1);
    return data;
}

TEST(OsdTextFromCopyData, OnlyExactly151BytesCarryText) {
    EXPECT_FALSE(OsdTextFromCopyData(Block(150, "CPI: 800")).has_value());
    EXPECT_FALSE(OsdTextFromCopyData(Block(152, "CPI: 800")).has_value());
    EXPECT_FALSE(OsdTextFromCopyData({}).has_value());
    const auto text = OsdTextFromCopyData(Block(151, "CPI: 800"));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, "CPI: 800");
}

TEST(OsdTextFromCopyData, ByteZeroIsNotPartOfTheText) {
    auto data = Block(151, "abc");
    data[0] = std::byte{0};  // a NUL in byte 0 must not end the text
    EXPECT_EQ(*OsdTextFromCopyData(data), "abc");
}

TEST(OsdTextFromCopyData, UnterminatedTextStopsAtByte150) {
    const auto data = Block(151, nullptr, std::byte{'Q'});
    const auto text = OsdTextFromCopyData(data);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->size(), 150u);
    EXPECT_EQ(*text, std::string(150, 'Q'));
}

TEST(OsdTextFromCopyData, EmptyTextIsAcceptedAsEmpty) {
    EXPECT_EQ(*OsdTextFromCopyData(Block(151, "")), "");
}

}  // namespace
}  // namespace protocol
