#include "option/model/dialogs/dialog_values.h"

#include <gtest/gtest.h>

#include "option/model/pages/button_assignment.h"
#include "page_fakes.h"

namespace option {
namespace {

TEST(FireNumbers, TypedValuesAreBroughtIntoRange) {
    const auto check = [](const char* a, const char* b, int wantA, int wantB) {
        const FireNumbers n = FireNumbersFromText(a, b);
        EXPECT_EQ(n.valueA, wantA) << a;
        EXPECT_EQ(n.valueB, wantB) << b;
    };
    check("0", "2", 0, 2);
    check("300", "0", 255, 1);
    check("255", "300", 255, 255);
    check("  12", " 7", 12, 7);
    check("", "", 0, 1);
    check("99999999999999", "99999999999999", 255, 255);  // no overflow on long text
}

TEST(FireNumbers, FieldsShowOnlyValuesInTheirRange) {
    EXPECT_EQ(FireFieldTextA(0), "0");
    EXPECT_EQ(FireFieldTextA(-1), "");
    EXPECT_EQ(FireFieldTextB(2), "2");
    EXPECT_EQ(FireFieldTextB(0), "");
}

TEST(PlayerNames, KnownIndexesOnlyAndRealPlayerThoughNotOffered) {
    EXPECT_EQ(PlayerName(0), "Windows Media player");
    EXPECT_EQ(PlayerName(2), "Real Player");
    EXPECT_EQ(PlayerName(3), "Winamp");
    EXPECT_EQ(PlayerName(4), "");
    EXPECT_EQ(PlayerName(-1), "");
}

TEST(ShortcutToggleButtons, PlainKeyDisablesTheModifiersButKeepsTheirLook) {
    const ToggleButtons plain = ToggleButtonStates({true, true, false, true, false});
    EXPECT_EQ(plain.latched, (std::array<bool, 5>{true, true, false, true, false}));
    EXPECT_EQ(plain.enabled, (std::array<bool, 5>{true, false, false, false, false}));
    const ToggleButtons modifiers = ToggleButtonStates({false, true, false, true, false});
    EXPECT_EQ(modifiers.latched, (std::array<bool, 5>{false, true, false, true, false}));
    EXPECT_EQ(modifiers.enabled, (std::array<bool, 5>{true, true, true, true, true}));
}

TEST(KeyFields, ShowWhatIsStoredAndIgnoreKeysThatCannotBeSent) {
    const testing::MovedKeysLayout us;
    KeyField field = KeyFieldOf(0x04, us);
    EXPECT_EQ(field.name, "A");
    EXPECT_TRUE(KeyFieldOf(0x00, us).name.empty());

    // Print Screen and an unknown key have no device code: the field keeps
    // the key that will really be sent.
    EXPECT_FALSE(TakeCapturedKey(field, 0x2C, us));
    EXPECT_FALSE(TakeCapturedKey(field, 0xFF, us));
    EXPECT_EQ(field.keyCode, 0x04);
    EXPECT_EQ(field.name, "A");

    // Ctrl held, A pressed and released, Ctrl released: the last key decides.
    for (unsigned vk : {0xA2u, 0x41u, 0x41u, 0xA2u}) TakeCapturedKey(field, vk, us);
    const CapturedKey ctrl = CaptureKey(0xA2, us);
    EXPECT_EQ(field.keyCode, ctrl.keyCode);
    EXPECT_EQ(field.name, ctrl.name);

    // On a layout with moved letters the name is the letter that code types there.
    KeyField azerty = KeyFieldOf(0, testing::Azerty());
    ASSERT_TRUE(TakeCapturedKey(azerty, 'A', testing::Azerty()));
    EXPECT_EQ(azerty.keyCode, 0x14);
    EXPECT_EQ(azerty.name, "A");
}

TEST(PathChecks, WholePathsOnlyAndTheNoticeNamesBothLengths) {
    EXPECT_TRUE(PathFits("", 3));
    EXPECT_TRUE(PathFits("abc", 3));
    EXPECT_FALSE(PathFits("abcd", 3));
    EXPECT_FALSE(PathFits(std::string_view("a\0b", 3), 3));
    EXPECT_TRUE(PathFits(std::string(kMaxProgramPath, 'p'), kMaxProgramPath));
    EXPECT_FALSE(PathFits(std::string(kMaxProgramPath + 1, 'p'), kMaxProgramPath));

    EXPECT_EQ(PathTooLongText("has %1, fits %2; 100%", 300, 261), "has 300, fits 261; 100%");
    EXPECT_EQ(PathTooLongText("%2%1%3", 5, 4), "45%3");
}

}  // namespace
}  // namespace option
