#include "common/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace text {
namespace {

// Code page 1252 for the letters the tests use (0xA0..0xFF are Latin-1 there);
// any other byte past ASCII fails the test, as a converter that would have
// been asked for the wrong text.
class Cp1252ForTests final : public LegacyCodePage {
  public:
    bool ToUtf8(std::string_view legacy, std::string& utf8) const override {
        ++calls;
        utf8.clear();
        for (char c : legacy) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                utf8 += c;
            } else if (byte >= 0xA0) {
                utf8 += static_cast<char>(0xC0 | (byte >> 6));
                utf8 += static_cast<char>(0x80 | (byte & 0x3F));
            } else {
                ADD_FAILURE() << "byte " << static_cast<int>(byte);
                return false;
            }
        }
        return true;
    }
    mutable int calls = 0;
};

class FailingCodePage final : public LegacyCodePage {
  public:
    bool ToUtf8(std::string_view, std::string&) const override { return false; }
};

TEST(TextFromFile, Utf8AndAsciiPassUnchangedAndLegacyTextIsConverted) {
    const Cp1252ForTests cp1252;
    const std::string utf8 =
        "Zo\xC3\xAB \xC3\x9Cnal \xE5\xBC\xA0\xE4\xBC\x9F \xE2\x9C\x93 \xF0\x9F\x98\x80";
    ReadText read = TextFromFile(utf8, cp1252);
    EXPECT_EQ(read.utf8, utf8);
    EXPECT_EQ(read.source, TextSource::Utf8);
    read = TextFromFile("ProFileName=Default1\r\n", cp1252);
    EXPECT_EQ(read.utf8, "ProFileName=Default1\r\n");
    EXPECT_EQ(read.source, TextSource::Utf8);
    EXPECT_EQ(cp1252.calls, 0) << "UTF-8 is never handed to the legacy converter";

    read = TextFromFile("ProFileName=Zo\xEB\r\n", cp1252);
    EXPECT_EQ(read.utf8, "ProFileName=Zo\xC3\xAB\r\n");
    EXPECT_EQ(read.source, TextSource::Legacy);
    // Legacy text that happens to hold a UTF-8 looking pair is still legacy
    // as a whole: "Ã«" next to "ë" is converted byte by byte.
    read = TextFromFile("\xC3\xAB\xEB", cp1252);
    EXPECT_EQ(read.utf8, "\xC3\x83\xC2\xAB\xC3\xAB");

    // Unconvertible bytes are kept rather than lost.
    read = TextFromFile("Zo\xEB", FailingCodePage());
    EXPECT_EQ(read.utf8, "Zo\xEB");
    EXPECT_EQ(read.source, TextSource::Legacy);
}

TEST(IsUtf8, RefusesMalformedSequences) {
    EXPECT_TRUE(IsUtf8(""));
    EXPECT_TRUE(IsUtf8("\xF4\x8F\xBF\xBF"));   // U+10FFFF
    EXPECT_FALSE(IsUtf8("\xC3"));              // cut short
    EXPECT_FALSE(IsUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(IsUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(IsUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(IsUtf8("\x80"));              // a lone continuation
    EXPECT_FALSE(IsUtf8("\xE6\x97x"));         // broken by ASCII
}

}  // namespace
}  // namespace text
