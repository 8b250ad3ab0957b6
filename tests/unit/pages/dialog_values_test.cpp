#include "option/pages/model/dialog_values.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace option
