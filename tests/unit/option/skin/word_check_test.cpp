#include "option/skin/word_check.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

DrawnWord Word(std::string name, std::string whole, std::string shown, PosRect box, PosRect drawn) {
    return {std::move(name), std::move(whole), std::move(shown), box, drawn};
}

TEST(WordCheck, AWordOutOfItsBoxOrCutWithoutItsEllipsisIsFound) {
    const PosRect box{10, 10, 60, 30};
    const std::string cut = "SICH\xE2\x80\xA6";
    const std::vector<DrawnWord> sound = {
        Word("[TEXT] 1", "Title", "Title", box, {12, 14, 60, 26}),
        Word("[CAPTION] 12", "SICHERN", cut, {70, 10, 112, 30}, {74, 14, 108, 26}),
    };
    EXPECT_TRUE(WordFindings(sound, CutWords::Allowed).empty());
    // A real language's word must fit whole.
    const std::vector<std::string> onButton = WordFindings(sound, CutWords::Faulty);
    ASSERT_EQ(onButton.size(), 1u);
    EXPECT_NE(onButton[0].find("[CAPTION] 12"), std::string::npos);

    const std::vector<DrawnWord> faulty = {
        // One pixel past the right edge, as a word drawn without clipping spills.
        Word("[TEXT] 1", "Title", "Title", box, {12, 14, 61, 26}),
        // Lost its last letters, and nothing tells the reader so.
        Word("[CAPTION] 12", "SICHERN", "SICHER", {70, 10, 112, 30}, {74, 14, 108, 26}),
    };
    const std::vector<std::string> found = WordFindings(faulty, CutWords::Allowed);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NE(found[0].find("leaves its box"), std::string::npos);
    EXPECT_NE(found[1].find("without its ellipsis"), std::string::npos);
}

TEST(WordCheck, TwoWordsWhoseLettersOverlapAreFoundButTouchingOnesAreNot) {
    const PosRect left{0, 0, 100, 20};
    const PosRect right{100, 0, 200, 20};
    const std::vector<DrawnWord> touching = {
        Word("[TEXT] 1", "Speed", "Speed", left, {60, 4, 100, 16}),
        Word("[TEXT] 2", "Slow", "Slow", right, {100, 4, 130, 16}),
    };
    EXPECT_TRUE(WordFindings(touching, CutWords::Faulty).empty());

    // Each word is in its own box, but the boxes themselves overlap.
    const std::vector<DrawnWord> overlapping = {
        Word("[TEXT] 1", "Speed", "Speed", {0, 0, 120, 20}, {70, 4, 118, 16}),
        Word("[CAPTION] 3", "Slow", "Slow", right, {110, 4, 140, 16}),
    };
    const std::vector<std::string> found = WordFindings(overlapping, CutWords::Faulty);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].find("overlaps"), std::string::npos);
}

}  // namespace
}  // namespace skin
