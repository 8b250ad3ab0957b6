#include "option/model/pages/assignment_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "option/model/pages/assignment_menu.h"
#include "option/model/pages/button_captions.h"
#include "page_fakes.h"

namespace option {
namespace {

// Scripted answers; a dialog the test did not script fails the test.
class ScriptedDialogs final : public AssignmentDialogs {
  public:
    int clickWarnings = 0;
    int pathTooLong = 0;
    int macroManagerRuns = 0;
    bool allowClickWarning = false;
    bool allowMacroManager = false;
    // Runs while the shortcut, fire or launch dialog is open.
    std::function<void()> whileOpen = [] {};

    struct Shortcut {
        bool ok;
        std::uint8_t key;
        ShortcutToggles toggles;
    };
    std::optional<Shortcut> shortcut;
    std::optional<std::pair<bool, FireSetting>> fire;
    std::optional<std::pair<bool, std::string>> path;
    std::optional<std::pair<bool, std::int32_t>> player;

    // What each dialog was opened with.
    std::uint8_t shownKey = 0;
    ShortcutToggles shownToggles{};
    FireSetting shownFire{-1, 0xEE, -1};
    std::string shownPath = "<not opened>";

    void ShowClickWarning() override {
        EXPECT_TRUE(allowClickWarning) << "unexpected click warning";
        ++clickWarnings;
    }
    bool EditShortcut(std::uint8_t& key, ShortcutToggles& toggles) override {
        if (!shortcut) {
            ADD_FAILURE() << "unexpected shortcut dialog";
            return false;
        }
        whileOpen();
        shownKey = key;
        shownToggles = toggles;
        key = shortcut->key;
        toggles = shortcut->toggles;
        return shortcut->ok;
    }
    bool EditFire(FireSetting& value) override {
        return Edit(fire, value, shownFire, "fire dialog");
    }
    bool EditLaunchPath(std::string& value) override {
        return Edit(path, value, shownPath, "launch-program dialog");
    }
    void ShowPathTooLong() override { ++pathTooLong; }
    bool ChoosePlayer(std::int32_t& value) override {
        if (!player) {
            ADD_FAILURE() << "unexpected media player dialog";
            return false;
        }
        value = player->second;
        return player->first;
    }
    void RunMacroManager() override {
        EXPECT_TRUE(allowMacroManager) << "unexpected macro manager";
        ++macroManagerRuns;
    }

  private:
    // A dialog that edits one value: `answer` is how the user ends it (OK or
    // not) and what it then holds; none when the test expects no such dialog.
    template <typename Value>
    bool Edit(const std::optional<std::pair<bool, Value>>& answer, Value& value, Value& shown,
              const char* dialog) {
        if (!answer) {
            ADD_FAILURE() << "unexpected " << dialog;
            return false;
        }
        whileOpen();
        shown = value;
        value = answer->second;
        return answer->first;
    }
};

class AssignmentCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        settings::FillDefaults(*block_, settings::DefaultsFor::Option);
        block_->currentProfile = 2;
    }
    settings::ProfileRecord& Profile() { return block_->profiles[2]; }
    settings::ButtonAssignment& Button(int i) { return Profile().MacroKeyInfo[i]; }
    bool Flagged(int button) const {
        return settings::ChangeFlag(*block_, settings::kButtonGroupStride * 2 + button) == 1;
    }
    AssignmentOutcome Run(int selected, unsigned command,
                          std::span<const MacroForButton> macros = {}) {
        return HandleAssignmentCommand(*block_, selected, command, macros, dialogs_);
    }
    // Entry 3 holds a macro of three events, so leftovers would show.
    void GiveButton3AMacro() {
        const settings::MacroEvent events[3] = {{0x04, 1, 10}, {0x04, 2, 20}, {0x05, 1, 30}};
        AssignMacro(Button(3), {"old macro", 3, events, 7});
    }
    void ExpectNoMacroLeft(const settings::ButtonAssignment& entry) {
        for (int i = 1; i < settings::kMaxMacroEvents; ++i) {
            EXPECT_EQ(entry.events[i].keyCode, 0) << i;
            EXPECT_EQ(entry.events[i].delayMs, 0) << i;
        }
        EXPECT_EQ(entry.macroName[0], '\0');
    }

    std::unique_ptr<settings::SettingsBlock> block_ = std::make_unique<settings::SettingsBlock>();
    ScriptedDialogs dialogs_;
};

TEST_F(AssignmentCommand, CommandsMapToActionCodes) {
    const std::vector<std::pair<unsigned, int>> map = {
        {1001, 1},  {1015, 15}, {1016, 0},  {1017, 17}, {1044, 44}, {1045, 0},  {1050, 48},
        {1060, 58}, {1061, 64}, {1067, 70}, {1090, 83}, {1091, 81}, {1092, 82}, {1093, 80},
        {1094, 0},  {1098, 0},  {1099, 0},  {1100, 16}, {4000, 16}, {4001, 0},  {1000, 0}};
    for (const auto& [command, action] : map)
        EXPECT_EQ(ActionForCommand(command), action) << command;
}

TEST_F(AssignmentCommand, TheOnlyLeftClickCannotBeTakenAway) {
    const auto before = std::make_unique<settings::SettingsBlock>(*block_);
    dialogs_.allowClickWarning = true;
    // Entry 0 is the profile's only left click.
    EXPECT_EQ(Run(0, 1002), AssignmentOutcome::LeftClickKept);
    EXPECT_EQ(Run(0, command::kMacroManager), AssignmentOutcome::LeftClickKept);
    EXPECT_EQ(Run(0, command::kShortcut), AssignmentOutcome::LeftClickKept);
    EXPECT_EQ(dialogs_.clickWarnings, 3);
    EXPECT_EQ(dialogs_.macroManagerRuns, 0);
    EXPECT_EQ(std::memcmp(before.get(), block_.get(), sizeof *block_), 0);

    // Left click again on the same button is fine; so is taking it from entry
    // 0 once another button holds one.
    dialogs_.allowClickWarning = false;
    EXPECT_EQ(Run(0, command::kLeftClick), AssignmentOutcome::Assigned);
    EXPECT_EQ(Run(4, command::kLeftClick), AssignmentOutcome::Assigned);
    EXPECT_EQ(Run(0, 1002), AssignmentOutcome::Assigned);
    EXPECT_EQ(Button(0).actionCode, 2);
    EXPECT_TRUE(Flagged(0));
    EXPECT_TRUE(Flagged(4));
}

TEST_F(AssignmentCommand, ShortcutStoresKeyAndFlagsAndDropsTheOldMacro) {
    GiveButton3AMacro();
    // Toggle 0 wins over every modifier.
    dialogs_.shortcut = ScriptedDialogs::Shortcut{true, 0x04, {true, true, true, false, true}};
    EXPECT_EQ(Run(3, command::kShortcut), AssignmentOutcome::Assigned);
    const settings::ButtonAssignment& entry = Button(3);
    EXPECT_EQ(entry.actionCode, settings::action::kKeyCombination);
    EXPECT_EQ(entry.eventCount, 1);
    EXPECT_EQ(entry.events[0].keyCode, 0x04);
    EXPECT_EQ(entry.events[0].state, 0x01);
    EXPECT_EQ(entry.events[0].delayMs, 0);
    ExpectNoMacroLeft(entry);
    EXPECT_TRUE(Flagged(3));
    EXPECT_EQ(ButtonCaption(3, entry, testing::IdStrings(), testing::MovedKeysLayout()), "4. A");

    // The dialog opens on the stored key and flags.
    dialogs_.shortcut = ScriptedDialogs::Shortcut{true, 0x05, {false, true, false, true, false}};
    EXPECT_EQ(Run(3, command::kShortcut), AssignmentOutcome::Assigned);
    EXPECT_EQ(dialogs_.shownKey, 0x04);
    EXPECT_EQ(dialogs_.shownToggles, (ShortcutToggles{true, false, false, false, false}));
    EXPECT_EQ(Button(3).events[0].state, 0x0A);
}

TEST_F(AssignmentCommand, CancelledDialogsChangeNothing) {
    const auto before = std::make_unique<settings::SettingsBlock>(*block_);
    dialogs_.shortcut = ScriptedDialogs::Shortcut{false, 0x09, {false, true, false, false, false}};
    dialogs_.fire = {false, FireSetting{5, 0x09, 6}};
    dialogs_.path = {false, "C:\\x.exe"};
    dialogs_.player = {false, 3};
    EXPECT_EQ(Run(5, command::kShortcut), AssignmentOutcome::Cancelled);
    EXPECT_EQ(Run(5, command::kFire), AssignmentOutcome::Cancelled);
    EXPECT_EQ(Run(5, command::kLaunchProgram), AssignmentOutcome::Cancelled);
    EXPECT_EQ(Run(5, command::kMediaPlayer), AssignmentOutcome::Cancelled);
    EXPECT_EQ(std::memcmp(before.get(), block_.get(), sizeof *block_), 0);
}

TEST_F(AssignmentCommand, AProfileSwitchDuringTheDialogKeepsEntryAndFlagInOneProfile) {
    // The mouse switches to profile 4 while the dialog is open, and Option
    // reloads the block under it.
    dialogs_.whileOpen = [this] { block_->currentProfile = 4; };
    dialogs_.shortcut = ScriptedDialogs::Shortcut{true, 0x04, {false, true, false, false, false}};
    dialogs_.fire = {true, FireSetting{12, 0x2C, 40}};
    dialogs_.path = {true, "C:\\game.exe"};
    const std::pair<unsigned, int> cases[] = {
        {command::kShortcut, settings::action::kKeyCombination},
        {command::kFire, settings::action::kFire},
        {command::kLaunchProgram, settings::action::kLaunchProgram}};
    for (const auto& [command, action] : cases) {
        block_->currentProfile = 2;
        settings::ClearChanges(*block_);
        EXPECT_EQ(Run(3, command), AssignmentOutcome::Assigned) << command;
        EXPECT_EQ(Button(3).actionCode, action) << command;
        EXPECT_TRUE(Flagged(3)) << command;
        EXPECT_FALSE(settings::ButtonGroupChanged(*block_, 4)) << command;
        EXPECT_EQ(block_->profiles[4].MacroKeyInfo[3].actionCode,
                  settings::kDefaultButtonActions[3]);
    }
}

TEST_F(AssignmentCommand, TheAnswerMeetsTheRecordAsTheDialogLeavesIt) {
    // Entry 4 is a second left click when the dialog opens; the profile read
    // again meanwhile (Monitor's copy) has entry 0 as its only one.
    AssignPlainAction(Button(4), settings::action::kLeftClick);
    auto monitors = std::make_unique<settings::ProfileRecord>(Profile());
    AssignPlainAction(monitors->MacroKeyInfo[4], settings::kDefaultButtonActions[4]);
    ASSERT_TRUE(AssignLaunchProgram(monitors->MacroKeyInfo[3], "C:\\reloaded.exe"));
    AssignPlainAction(monitors->MacroKeyInfo[3], settings::kDefaultButtonActions[3]);
    dialogs_.whileOpen = [&] { Profile() = *monitors; };
    dialogs_.shortcut = ScriptedDialogs::Shortcut{true, 0x04, {false, true, false, false, false}};
    dialogs_.allowClickWarning = true;
    EXPECT_EQ(Run(0, command::kShortcut), AssignmentOutcome::LeftClickKept);
    EXPECT_EQ(dialogs_.clickWarnings, 1);
    EXPECT_EQ(std::memcmp(&Profile(), monitors.get(), sizeof *monitors), 0);

    // Accepted on another button, the answer goes into the reloaded record:
    // the path it holds stays.
    dialogs_.allowClickWarning = false;
    EXPECT_EQ(Run(3, command::kShortcut), AssignmentOutcome::Assigned);
    EXPECT_EQ(Button(3).actionCode, settings::action::kKeyCombination);
    EXPECT_STREQ(Button(3).programPath, "C:\\reloaded.exe");
    EXPECT_EQ(Button(0).actionCode, settings::action::kLeftClick);
}

TEST_F(AssignmentCommand, FireStartsFromDefaultsOrTheStoredSetting) {
    GiveButton3AMacro();
    dialogs_.fire = {true, FireSetting{12, 0x2C, 40}};
    EXPECT_EQ(Run(3, command::kFire), AssignmentOutcome::Assigned);
    EXPECT_EQ(dialogs_.shownFire.valueA, 0);
    EXPECT_EQ(dialogs_.shownFire.valueB, 2);
    const settings::ButtonAssignment& entry = Button(3);
    EXPECT_EQ(entry.actionCode, settings::action::kFire);
    EXPECT_EQ(entry.eventCount, 1);
    EXPECT_EQ(entry.fireValueA, 12);
    EXPECT_EQ(entry.fireValueB, 40);
    EXPECT_EQ(entry.events[0].keyCode, 0x2C);
    EXPECT_EQ(entry.events[0].state, 0);
    ExpectNoMacroLeft(entry);

    dialogs_.fire = {true, FireSetting{1, 0x2C, 3}};
    EXPECT_EQ(Run(3, command::kFire), AssignmentOutcome::Assigned);
    EXPECT_EQ(dialogs_.shownFire.valueA, 12);
    EXPECT_EQ(dialogs_.shownFire.valueB, 40);
    EXPECT_EQ(dialogs_.shownFire.keyCode, 0x2C);
}

TEST_F(AssignmentCommand, LaunchPathIsStoredWholeOrRefusedAndOutlivesOtherActions) {
    std::strcpy(Button(6).programPath, "C:\\old.exe");  // left from an earlier assignment
    const std::string longest(kMaxProgramPath, 'p');
    dialogs_.path = {true, longest};
    EXPECT_EQ(Run(6, command::kLaunchProgram), AssignmentOutcome::Assigned);
    EXPECT_EQ(dialogs_.shownPath, "");  // not a launching button yet
    EXPECT_EQ(Button(6).actionCode, settings::action::kLaunchProgram);
    EXPECT_EQ(std::string(Button(6).programPath), longest);

    // One byte more would lose the NUL or run a cut path: refused, kept whole.
    const auto before = std::make_unique<settings::SettingsBlock>(*block_);
    dialogs_.path = {true, longest + "q"};
    EXPECT_EQ(Run(6, command::kLaunchProgram), AssignmentOutcome::Cancelled);
    EXPECT_EQ(dialogs_.shownPath, longest);
    EXPECT_EQ(dialogs_.pathTooLong, 1);
    EXPECT_EQ(std::memcmp(before.get(), block_.get(), sizeof *block_), 0);

    dialogs_.path = {true, "D:\\Tools\\run.exe"};
    EXPECT_EQ(Run(6, command::kLaunchProgram), AssignmentOutcome::Assigned);
    const settings::ButtonAssignment& entry = Button(6);
    for (std::size_t i = std::strlen("D:\\Tools\\run.exe"); i < sizeof entry.programPath; ++i)
        ASSERT_EQ(entry.programPath[i], '\0') << i;

    // A plain action keeps the path but the label follows the new action.
    EXPECT_EQ(Run(6, 1007), AssignmentOutcome::Assigned);
    EXPECT_EQ(std::string(entry.programPath), "D:\\Tools\\run.exe");
    EXPECT_EQ(ActionText(entry, testing::IdStrings(), testing::MovedKeysLayout()), "#1011");
    // And the dialog no longer starts on it.
    dialogs_.path = {false, ""};
    Run(6, command::kLaunchProgram);
    EXPECT_EQ(dialogs_.shownPath, "");
}

TEST_F(AssignmentCommand, MacroFromTheStoreFitsTheRecord) {
    std::vector<settings::MacroEvent> events(45);
    for (std::size_t i = 0; i < events.size(); ++i)
        events[i] = {static_cast<std::uint8_t>(4 + i), 1, static_cast<std::uint16_t>(i)};
    const std::string longName(52, 'n');
    const std::vector<MacroForButton> store = {{"short", 2, events, 3}, {longName, 45, events, 9}};
    EXPECT_EQ(Run(7, command::kFirstMacro, store), AssignmentOutcome::Assigned);
    EXPECT_EQ(Button(7).actionCode, settings::action::kMacro);
    EXPECT_EQ(std::string(Button(7).macroName), "short");
    EXPECT_EQ(Button(7).eventCount, 2);
    EXPECT_EQ(Button(7).events[1].keyCode, 5);
    EXPECT_EQ(Button(7).events[2].keyCode, 0);
    EXPECT_EQ(Button(7).repeatCount, 3);
    EXPECT_TRUE(Flagged(7));

    // A 52-byte store name is cut to the 20-byte field; only 40 events fit.
    const std::string pathBefore(Button(7).programPath, sizeof Button(7).programPath);
    EXPECT_EQ(Run(7, command::kFirstMacro + 1, store), AssignmentOutcome::Assigned);
    EXPECT_EQ(std::string(Button(7).macroName), longName.substr(0, 19));
    EXPECT_EQ(Button(7).eventCount, settings::kMaxMacroEvents);
    EXPECT_EQ(Button(7).events[39].keyCode, 4 + 39);
    EXPECT_EQ(std::string(Button(7).programPath, sizeof Button(7).programPath), pathBefore);

    // A macro the store does not hold changes nothing.
    EXPECT_EQ(Run(8, command::kFirstMacro + 2, store), AssignmentOutcome::Unchanged);
    EXPECT_EQ(Button(8).actionCode, settings::kDefaultButtonActions[8]);
    EXPECT_FALSE(Flagged(8));
}

TEST_F(AssignmentCommand, PlainActionsClearThePayloadAndNameButNotThePath) {
    GiveButton3AMacro();
    std::strcpy(Button(3).programPath, "C:\\keep.exe");
    EXPECT_EQ(Run(3, 1030), AssignmentOutcome::Assigned);
    EXPECT_EQ(Button(3).actionCode, 30);
    EXPECT_EQ(Button(3).eventCount, 0);
    EXPECT_EQ(Button(3).events[0].keyCode, 0);
    ExpectNoMacroLeft(Button(3));
    EXPECT_EQ(std::string(Button(3).programPath), "C:\\keep.exe");
}

TEST_F(AssignmentCommand, MacroManagerAndMediaPlayerLeaveTheButtonAlone) {
    dialogs_.allowMacroManager = true;
    EXPECT_EQ(Run(2, command::kMacroManager), AssignmentOutcome::Unchanged);
    EXPECT_EQ(dialogs_.macroManagerRuns, 1);

    dialogs_.player = {true, 3};
    EXPECT_EQ(Run(0, command::kMediaPlayer), AssignmentOutcome::SettingChanged);
    EXPECT_EQ(Profile().MediaOption, 3);
    EXPECT_EQ(Button(0).actionCode, 1);
    EXPECT_FALSE(Flagged(0));
    EXPECT_FALSE(Flagged(2));
}

TEST_F(AssignmentCommand, NoCurrentProfileOrButtonOutOfRangeDoesNothing) {
    block_->currentProfile = -1;
    EXPECT_EQ(Run(3, 1002), AssignmentOutcome::Unchanged);
    block_->currentProfile = 2;
    EXPECT_EQ(Run(16, 1002), AssignmentOutcome::Unchanged);
    EXPECT_EQ(Run(-1, 1002), AssignmentOutcome::Unchanged);
}

}  // namespace
}  // namespace option
