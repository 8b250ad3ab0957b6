#include "option/model/pages/button_captions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "option/model/pages/button_assignment.h"
#include "page_fakes.h"

namespace option {
namespace {

using testing::Azerty;
using testing::IdStrings;
using testing::MovedKeysLayout;

settings::ButtonAssignment Entry(int index, std::uint8_t action) {
    settings::ButtonAssignment entry{};
    settings::FillDefaultButton(entry, index);
    entry.actionCode = action;
    return entry;
}

TEST(ButtonCaptions, NumbersFollowTheMouseAndUnusedEntriesShowZero) {
    const std::vector<int> expected = {1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 6, 7, 8, 9, 10, 0};
    const IdStrings strings;
    const MovedKeysLayout us;
    for (int i = 0; i < settings::kButtonCount; ++i) {
        EXPECT_EQ(ButtonNumber(i), expected[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(ButtonCaption(i, Entry(i, 2), strings, us),
                  std::to_string(expected[static_cast<std::size_t>(i)]) + ". #1006");
    }
}

TEST(ButtonCaptions, ActionLabelsAtTheEdgesOfEachRunAndNoneInTheGaps) {
    const std::vector<std::pair<int, unsigned>> labelled = {
        {0, 1010},  {1, 1005},  {4, 1008},  {6, 1010},  {12, 1016}, {13, 1018}, {15, 1020},
        {18, 1024}, {24, 1030}, {25, 1032}, {32, 1039}, {33, 1041}, {44, 1052}, {48, 1071},
        {58, 1081}, {64, 1082}, {70, 1088}, {80, 1093}, {81, 1091}, {82, 1092}, {83, 1090}};
    for (const auto& [action, id] : labelled) EXPECT_EQ(ActionLabelId(action), id) << action;
    for (int action : {5, 16, 17, 45, 47, 59, 63, 71, 79, 84, 255})
        EXPECT_FALSE(ActionLabelId(action).has_value()) << action;

    const IdStrings strings;
    const MovedKeysLayout us;
    EXPECT_EQ(ButtonCaption(3, Entry(3, 47), strings, us), "4. ");
}

TEST(ButtonCaptions, ShortcutTexts) {
    const IdStrings strings;
    const MovedKeysLayout us;
    settings::ButtonAssignment entry = Entry(1, settings::action::kKeyCombination);
    // No event yet: only the number.
    EXPECT_EQ(ButtonCaption(1, entry, strings, us), "2. ");

    AssignShortcut(entry, 0x04, {false, true, true, true, true});
    EXPECT_EQ(ButtonCaption(1, entry, strings, us), "2. Ctrl+Shift+Alt+Win+A");
    AssignShortcut(entry, 0x3A, {false, false, false, true, false});
    EXPECT_EQ(ActionText(entry, strings, us), "Alt+F1");
    // The plain key drops every modifier from the text.
    AssignShortcut(entry, 0x04, {true, true, true, false, false});
    EXPECT_EQ(ActionText(entry, strings, us), "A");
}

TEST(ButtonCaptions, ALayoutWithMovedLettersShowsItsOwnLetter) {
    const IdStrings strings;
    const MovedKeysLayout azerty = Azerty();
    // The key labelled A on AZERTY sits where US keyboards have Q.
    const CapturedKey key = CaptureKey('A', azerty);
    ASSERT_TRUE(key.found);
    EXPECT_EQ(key.keyCode, 0x14);
    EXPECT_EQ(key.name, "A");

    settings::ButtonAssignment entry = Entry(0, settings::action::kKeyCombination);
    AssignShortcut(entry, key.keyCode, {false, true, false, false, false});
    EXPECT_EQ(ActionText(entry, strings, azerty), "Ctrl+A");
    EXPECT_EQ(ActionText(entry, strings, MovedKeysLayout()), "Ctrl+Q");
}

TEST(ButtonCaptions, MacroNameAndProgramFileNameStayInsideTheirFields) {
    const IdStrings strings;
    const MovedKeysLayout us;
    settings::ButtonAssignment entry = Entry(2, settings::action::kMacro);
    std::memcpy(entry.macroName, "combo", 6);
    EXPECT_EQ(ButtonCaption(2, entry, strings, us), "3. combo");
    // A name filling the whole field without its NUL is read no further.
    std::memset(entry.macroName, 'x', sizeof entry.macroName);
    EXPECT_EQ(ActionText(entry, strings, us), std::string(20, 'x'));

    entry = Entry(2, settings::action::kLaunchProgram);
    ASSERT_TRUE(AssignLaunchProgram(entry, "C:\\Program Files\\Game\\start.exe"));
    EXPECT_EQ(ButtonCaption(2, entry, strings, us), "3. start.exe");
    ASSERT_TRUE(AssignLaunchProgram(entry, "tool.bat"));
    EXPECT_EQ(ActionText(entry, strings, us), "tool.bat");
}

TEST(CapturedKeys, KeysWithoutADeviceCodeAreRefusedAndNamesFollowTheStoredCode) {
    const MovedKeysLayout us;
    // Print Screen has a name but no device code: it would be sent as nothing.
    EXPECT_FALSE(CaptureKey(0x2C, us).found);
    EXPECT_FALSE(CaptureKey(0xFF, us).found);

    const CapturedKey ctrl = CaptureKey(0xA2, us);  // left Ctrl
    ASSERT_TRUE(ctrl.found);
    EXPECT_EQ(ctrl.name, KeyCodeName(ctrl.keyCode, us));
    EXPECT_FALSE(ctrl.name.empty());
    EXPECT_EQ(KeyCodeName(0x00, us), "");
}

}  // namespace
}  // namespace option
