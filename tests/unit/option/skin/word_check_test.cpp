#include "option/skin/word_check.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

DrawnWord Word(std::string name, std::string whole, std::string shown, PosRect box, PosRect drawn,
               bool onControl) {
    return {std::move(name), std::move(whole), std::move(shown), box, drawn, onControl};
}

TEST(WordCheck, AWordOutOfItsBoxOrCutWithoutItsEllipsisIsFound) {
    const PosRect box{10, 10, 60, 30};
    const std::string cut = "SICH\xE2\x80\xA6";
    const std::vector<DrawnWord> sound = {
        Word("[TEXT] 1", "Title", "Title", box, {12, 14, 60, 26}, false),
        Word("[CAPTION] 12", "SICHERN", cut, {70, 10, 112, 30}, {74, 14, 108, 26}, true),
    };
    EXPECT_TRUE(WordFindings(sound, CutCaptions::Allowed).empty());
    // A real language's word must fit its button whole; a static note may
    // still end in its ellipsis.
    const std::vector<std::string> onButton = WordFindings(sound, CutCaptions::Faulty);
    ASSERT_EQ(onButton.size(), 1u);
    EXPECT_NE(onButton[0].find("[CAPTION] 12"), std::string::npos);

    const std::vector<DrawnWord> faulty = {
        // One pixel past the right edge, as a word drawn without clipping spills.
        Word("[TEXT] 1", "Title", "Title", box, {12, 14, 61, 26}, false),
        // Lost its last letters, and nothing tells the reader so.
        Word("[CAPTION] 12", "SICHERN", "SICHER", {70, 10, 112, 30}, {74, 14, 108, 26}, true),
    };
    const std::vector<std::string> found = WordFindings(faulty, CutCaptions::Allowed);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NE(found[0].find("leaves its box"), std::string::npos);
    EXPECT_NE(found[1].find("without its ellipsis"), std::string::npos);
}

TEST(WordCheck, TwoWordsWhoseLettersOverlapAreFoundButTouchingOnesAreNot) {
    const PosRect left{0, 0, 100, 20};
    const PosRect right{100, 0, 200, 20};
    const std::vector<DrawnWord> touching = {
        Word("[TEXT] 1", "Speed", "Speed", left, {60, 4, 100, 16}, false),
        Word("[TEXT] 2", "Slow", "Slow", right, {100, 4, 130, 16}, false),
    };
    EXPECT_TRUE(WordFindings(touching, CutCaptions::Faulty).empty());

    // Each word is in its own box, but the boxes themselves overlap.
    const std::vector<DrawnWord> overlapping = {
        Word("[TEXT] 1", "Speed", "Speed", {0, 0, 120, 20}, {70, 4, 118, 16}, false),
        Word("[CAPTION] 3", "Slow", "Slow", right, {110, 4, 140, 16}, true),
    };
    const std::vector<std::string> found = WordFindings(overlapping, CutCaptions::Faulty);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].find("overlaps"), std::string::npos);
}

}  // namespace
}  // namespace skin
