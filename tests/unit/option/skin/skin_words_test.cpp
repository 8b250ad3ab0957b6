#include <gtest/gtest.h>

#include <map>
#include <string>

#include "option/skin/skin_words.h"
#include "option/skin/word_fit.h"

namespace skin {
namespace {

TEST(SkinWords, RowsReadWholeAndBadOnesArePassedBy) {
    CaptionRow caption;
    ASSERT_EQ(ParseCaptionRow(" 2101, 2502 ,13,bu,0xFFFFFF,0xffffff,0x102030,0x7F7F7F", caption),
              1);
    EXPECT_EQ(caption.textId, 2101u);
    EXPECT_EQ(caption.hintId, 2502u);
    EXPECT_EQ(caption.size, 13);
    EXPECT_TRUE(caption.style.bold);
    EXPECT_TRUE(caption.style.upper);
    EXPECT_EQ(caption.style.align, WordAlign::Left);
    EXPECT_EQ(caption.colours[2], 0x102030u);
    EXPECT_EQ(caption.colours[3], 0x7F7F7Fu);
    EXPECT_EQ(caption.leftInset, 0);
    ASSERT_EQ(ParseCaptionRow("2024,2510,10,bcus,0xD4D8DE,0xFFFFFF,0xFFFFFF,0x4A4E54,20", caption),
              1);
    EXPECT_EQ(caption.leftInset, 20);
    EXPECT_EQ(caption.style.align, WordAlign::Centre);

    TextRow text;
    ASSERT_EQ(ParseTextRow("-4,14,300,20,2001,13,csw,0xFFFFFF", text), 1);
    EXPECT_TRUE(text.style.wraps);
    EXPECT_EQ(text.x, -4);
    EXPECT_EQ(text.width, 300);
    EXPECT_EQ(text.style.align, WordAlign::Centre);
    EXPECT_TRUE(text.style.spaced);
    EXPECT_FALSE(text.style.bold);

    // Each of these leaves the row as it was.
    const CaptionRow before = caption;
    for (const char* bad : {"", "2101,0,13,b,0xFFFFFF,0xFFFFFF,0xFFFFFF",  // a field short
                            "2101,0,13,b,0,0,0,0,9,1",                     // two too many
                            "2101,0,13,b,0,0,0,0,-9",                      // inset
                            "2101,0,0,b,0,0,0,0", "2101,0,401,b,0,0,0,0",  // sizes
                            "70000,0,13,b,0,0,0,0", "-1,0,13,b,0,0,0,0",   // ids
                            "2101,0,13,b,0x1000000,0,0,0", "2101,0,13x,b,0,0,0,0",
                            "2101,0,13,b,0x,0,0,0", "2101,0,99999999999999999999,b,0,0,0,0"}) {
        EXPECT_EQ(ParseCaptionRow(bad, caption), 0) << bad;
    }
    EXPECT_EQ(caption.textId, before.textId);
    for (const char* bad : {"1,1,0,20,2001,13,b,0", "1,1,300,20,0,13,b,0",  // empty box, no word
                            "40000,1,300,20,2001,13,b,0", "1,1,300,20,2001,13,b"}) {
        EXPECT_EQ(ParseTextRow(bad, text), 0) << bad;
    }

    // Rows after a left-out number and a bad row are still read.
    const std::map<std::string, std::string> file = {
        {"1", "0,0,10,10,2001,12,,0"}, {"2", "broken"}, {"5", "0,0,10,10,2005,12,r,0"}};
    const auto rows = ReadTextRows([&](const char* key) {
        const auto it = file.find(key);
        return it == file.end() ? std::string() : it->second;
    });
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].textId, 2005u);
    EXPECT_EQ(rows[1].style.align, WordAlign::Right);
}

// Every character (whole UTF-8 sequence) is 10 pixels wide at size 10 and
// scales with the size; the ellipsis too.
class CharacterWidths final : public TextMeasure {
  public:
    int Width(std::string_view utf8, int size) const override {
        int characters = 0;
        for (const char c : utf8) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return characters * size;
    }
};

TEST(WordFit, ShrinksToTheFloorThenCutsAtACharacterWithAnEllipsis) {
    EXPECT_EQ(FloorSize(20, 100), 14);
    EXPECT_EQ(FloorSize(10, 100), 9);   // never below 9 px at 100 %
    EXPECT_EQ(FloorSize(20, 200), 18);  // 9 px at 100 % is 18 px at 200 %
    EXPECT_EQ(FloorSize(10, 200), 10);  // a floor above the size is the size
    EXPECT_EQ(FloorSize(8, 100), 8);

    const CharacterWidths widths;
    const FittedWord whole = FitWord(widths, "Apply", 100, 20, 100);
    EXPECT_EQ(whole.shown, "Apply");
    EXPECT_EQ(whole.size, 20);
    EXPECT_FALSE(whole.cut);

    // 5 characters in 80 px: 16 px is the largest size that fits.
    EXPECT_EQ(FitWord(widths, "Apply", 80, 20, 100).size, 16);

    // At the floor (14 px) 100 px take 7 characters: 6 and the ellipsis.
    const FittedWord cut =
        FitWord(widths, "Ab\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80xyzw", 100, 20, 100);
    EXPECT_TRUE(cut.cut);
    EXPECT_EQ(cut.size, 14);
    EXPECT_EQ(cut.shown, "Ab\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80x\xE2\x80\xA6");

    // A cut before a space drops the space; the ellipsis alone when nothing fits.
    EXPECT_EQ(FitWord(widths, "ab cdefghijk", 40, 10, 100).shown, "ab\xE2\x80\xA6");
    const FittedWord none = FitWord(widths, "abcdef", 5, 10, 100);
    EXPECT_EQ(none.shown, "\xE2\x80\xA6");
    EXPECT_TRUE(none.cut);
}

// Faces that cover what the fake is told; every other face covers nothing.
class KnownFaces final : public GlyphCoverage {
  public:
    explicit KnownFaces(std::map<std::string, std::string> covered)
        : covered_(std::move(covered)) {}
    bool Covers(std::string_view face, std::string_view utf8) const override {
        const auto it = covered_.find(std::string(face));
        return it != covered_.end() && it->second.find(utf8) != std::string::npos;
    }

  private:
    std::map<std::string, std::string> covered_;
};

TEST(WordFit, TheSkinFaceFirstThenTheFirstFallbackThatHasTheLetters) {
    const std::string chinese = "\xE7\xA1\xAE\xE5\xAE\x9A";
    const KnownFaces faces(
        {{"Arial", "Apply"}, {"DejaVu Sans", "Apply" + chinese}, {"WenQuanYi Micro Hei", chinese}});
    EXPECT_EQ(ChooseFace(faces, "Arial", "Apply"), "Arial");
    EXPECT_EQ(ChooseFace(faces, "Arial", chinese), "WenQuanYi Micro Hei");
    EXPECT_EQ(ChooseFace(faces, "Arial", "\xD0\x96"), "Arial");  // nobody has it
    EXPECT_EQ(FallbackFaces().front(), "Microsoft YaHei");
}

}  // namespace
}  // namespace skin
