#include "option/model/session/option_session.h"

#include <gtest/gtest.h>

#include "common/settings/ini_engine.h"
#include "option/model/dialogs/macro_store.h"
#include "option/model/session/profile_transfer.h"
#include "tests/unit/option/model/session_fakes.h"

namespace {

using option::BlockSource;
using option::OptionSession;
using option_test::CountingMacroStore;
using option_test::FakeLink;
using option_test::FakePeers;
using settings::SettingsBlock;

constexpr const char* kFolder = "C:\\Prog\\";
constexpr int kSelectFlag = settings::kButtonFlagCount + settings::kSelectProfileFlag;

class SessionTest : public ::testing::Test {
  protected:
    SessionTest() {
        settings::FillDefaults(*link.section, settings::DefaultsFor::Monitor);
        link.section->currentProfile = 2;
        settings::CopyField(link.section->profiles[2].ProFileName, "From Monitor");
        settings::MarkAllChanged(*link.section);
    }
    // Monitor running with its section, as Option finds it at start.
    void MonitorUp() {
        link.exists = true;
        link.open = true;
        peers.monitor = true;
    }
    bool FilesWritten() const { return store.files.count("C:\\Prog\\config.ini") != 0; }

    testing_files::MemoryStore store;
    settings::EngineIniFileSystem engine{store};
    settings::SettingsFiles files{engine, kFolder};
    FakeLink link;
    FakePeers peers;
    CountingMacroStore macros;
    OptionSession session{files, nullptr, link, peers, macros};
};

TEST_F(SessionTest, StartTakesMonitorsBlockWithoutItsChangeFlags) {
    MonitorUp();
    EXPECT_EQ(session.Start(), BlockSource::Shared);
    EXPECT_EQ(session.Edit().currentProfile, 2);
    EXPECT_STREQ(session.CurrentProfile()->ProFileName, "From Monitor");
    for (int i = 0; i < settings::kChangeFlagCount; ++i) {
        ASSERT_EQ(settings::ChangeFlag(session.Reference(), i), 0) << i;
        ASSERT_EQ(settings::ChangeFlag(session.Edit(), i), 0) << i;
    }
    EXPECT_EQ(macros.loads, 1);
    EXPECT_EQ(macros.merges, 1);
    EXPECT_EQ(macros.saves, 1);
}

TEST_F(SessionTest, StartFallsBackToTheFilesWithoutSectionOrWhenItsReadFails) {
    EXPECT_EQ(session.Start(), BlockSource::Files);
    // No config.ini: no current profile, five default profiles.
    EXPECT_EQ(session.Edit().currentProfile, -1);
    EXPECT_STREQ(session.Edit().profiles[4].ProFileName, "Default5");

    MonitorUp();
    link.failCopies = true;
    OptionSession second{files, nullptr, link, peers, macros};
    EXPECT_EQ(second.Start(), BlockSource::Files);
    EXPECT_STREQ(second.Edit().profiles[2].ProFileName, "Default3");

    settings::SettingsFiles nowhere{engine, ""};
    OptionSession third{nowhere, nullptr, link, peers, macros};
    EXPECT_EQ(third.Start(), BlockSource::Defaults);
    EXPECT_EQ(third.Edit().currentProfile, 0);
}

TEST_F(SessionTest, ApplyHandsTheEditBlockOverAndWaitsForMonitor) {
    MonitorUp();
    session.Start();
    settings::ClearChanges(*link.section);
    ASSERT_TRUE(session.SelectProfile(4));
    settings::MarkButtonChanged(session.Edit(), 4, 3);

    const option::ApplyResult result = session.Apply(option::ApplyKind::Edits);
    EXPECT_TRUE(result.published);
    EXPECT_TRUE(result.saved);
    EXPECT_TRUE(result.pending);
    EXPECT_TRUE(session.Pending());
    // Monitor sees the selection flag and the page's button flag.
    EXPECT_EQ(link.section->currentProfile, 4);
    EXPECT_EQ(settings::ChangeFlag(*link.section, kSelectFlag), 1);
    EXPECT_EQ(settings::ChangeFlag(*link.section, 4 * 15 + 3), 1);
    EXPECT_EQ(peers.applies, std::vector{option::ApplyKind::Edits});
    EXPECT_EQ(peers.companionPosts, 1);
    EXPECT_TRUE(FilesWritten());
    EXPECT_EQ(store.files.count("C:\\Prog\\config\\Default4.gmp"), 1u);
    // Afterwards the reference is the handed-over block, without flags.
    EXPECT_EQ(session.Reference().currentProfile, 4);
    EXPECT_EQ(settings::ChangeFlag(session.Edit(), 4 * 15 + 3), 0);

    session.UploadDone();
    EXPECT_FALSE(session.Pending());

    // Same profile again: the selection flag is lowered.
    session.Apply(option::ApplyKind::Edits);
    EXPECT_EQ(settings::ChangeFlag(*link.section, kSelectFlag), 0);
}

TEST_F(SessionTest, PendingEndsWhenMonitorsWindowIsGone) {
    MonitorUp();
    session.Start();
    session.Apply(option::ApplyKind::Edits);
    EXPECT_FALSE(session.EndPendingIfMonitorGone());
    EXPECT_TRUE(session.Pending());
    peers.monitor = false;
    EXPECT_TRUE(session.EndPendingIfMonitorGone());
    EXPECT_FALSE(session.Pending());
    EXPECT_FALSE(session.EndPendingIfMonitorGone());
}

TEST_F(SessionTest, ApplyWithoutSectionSavesTheFilesButTellsMonitorNothing) {
    session.Start();
    peers.monitor = true;  // a window of that title, but no section
    const option::ApplyResult result = session.Apply(option::ApplyKind::Edits);
    EXPECT_EQ(link.openCalls, 1) << "the section is looked for again";
    EXPECT_FALSE(result.published);
    EXPECT_FALSE(result.pending);
    EXPECT_FALSE(session.Pending());
    EXPECT_TRUE(peers.applies.empty());
    EXPECT_TRUE(FilesWritten());
}

TEST_F(SessionTest, ApplyOpensTheSectionOfAMonitorStartedAfterOption) {
    session.Start();
    link.exists = true;
    peers.monitor = true;
    ASSERT_TRUE(session.SelectProfile(1));
    const option::ApplyResult result = session.Apply(option::ApplyKind::Edits);
    EXPECT_TRUE(result.published);
    EXPECT_TRUE(result.pending);
    EXPECT_EQ(link.section->currentProfile, 1);
    EXPECT_EQ(peers.applies, std::vector{option::ApplyKind::Edits});
}

TEST_F(SessionTest, AFailedPublishIsNotAnnouncedToMonitor) {
    MonitorUp();
    session.Start();
    link.failCopies = true;
    const option::ApplyResult result = session.Apply(option::ApplyKind::Edits);
    EXPECT_FALSE(result.published);
    EXPECT_FALSE(session.Pending());
    EXPECT_TRUE(peers.applies.empty());
}

TEST_F(SessionTest, ResetAppliesFiveDefaultProfilesAllMarkedChanged) {
    MonitorUp();
    session.Start();
    settings::CopyField(session.Edit().profiles[3].ProFileName, "Mine");
    session.ResetToDefaults();
    session.Apply(option::ApplyKind::Reset);
    EXPECT_EQ(peers.applies, std::vector{option::ApplyKind::Reset});
    EXPECT_EQ(link.section->currentProfile, 0);
    EXPECT_STREQ(link.section->profiles[3].ProFileName, "Default4");
    EXPECT_EQ(link.section->profiles[3].ColorType[0], 1);
    for (int i = 0; i < settings::kChangeFlagCount; ++i)
        ASSERT_EQ(settings::ChangeFlag(*link.section, i), 1) << i;
}

TEST_F(SessionTest, ReloadsActOnlyOnASuccessfulRead) {
    MonitorUp();
    session.Start();
    settings::CopyField(session.Edit().profiles[2].ProFileName, "Unsaved");
    session.Edit().profiles[2].MouseSpeed = 17;

    link.failCopies = true;
    EXPECT_FALSE(session.ProfileChanged());
    EXPECT_FALSE(session.SettingChanged());
    EXPECT_STREQ(session.CurrentProfile()->ProFileName, "Unsaved");

    link.open = false;
    link.failCopies = false;
    EXPECT_FALSE(session.ProfileChanged()) << "no view, no read";
    EXPECT_STREQ(session.CurrentProfile()->ProFileName, "Unsaved");
}

TEST_F(SessionTest, SettingChangedTakesOverOnlyTheMousesValues) {
    MonitorUp();
    session.Start();
    settings::ProfileRecord& edited = *session.CurrentProfile();
    settings::CopyField(edited.ProFileName, "Unsaved");
    edited.MouseSpeed = 17;
    edited.CpiStep = 0;

    settings::ProfileRecord& onMouse = link.section->profiles[2];
    onMouse.CpiStep = 3;
    onMouse.Sensitivity_X = 7;
    onMouse.Sensitivity_Y = 8;
    onMouse.Cpi_X = 1;
    onMouse.Cpi_Y = 4;
    onMouse.PollingRate = 0;
    onMouse.MouseSpeed = 5;
    ASSERT_TRUE(session.SettingChanged());
    EXPECT_EQ(edited.CpiStep, 3);
    EXPECT_EQ(edited.Sensitivity_X, 7);
    EXPECT_EQ(edited.Sensitivity_Y, 8);
    EXPECT_EQ(edited.Cpi_X, 1);
    EXPECT_EQ(edited.Cpi_Y, 4);
    EXPECT_EQ(edited.PollingRate, 0);
    EXPECT_EQ(edited.MouseSpeed, 17);
    EXPECT_STREQ(edited.ProFileName, "Unsaved");
}

TEST_F(SessionTest, ProfileChangeDiscardsEdits) {
    MonitorUp();
    session.Start();
    settings::CopyField(session.CurrentProfile()->ProFileName, "Unsaved");
    link.section->currentProfile = 0;
    const int mergesBefore = macros.merges;
    ASSERT_TRUE(session.ProfileChanged());
    EXPECT_EQ(session.Edit().currentProfile, 0);
    EXPECT_STREQ(session.Edit().profiles[2].ProFileName, "From Monitor");
    EXPECT_EQ(macros.merges, mergesBefore + 1) << "the profiles' macros reach the store";
}

TEST_F(SessionTest, SelectProfileAcceptsOnlyZeroToFour) {
    session.Start();
    EXPECT_TRUE(session.SelectProfile(0));
    EXPECT_FALSE(session.SelectProfile(5));
    EXPECT_FALSE(session.SelectProfile(-1));
    EXPECT_EQ(session.Edit().currentProfile, 0);
}

// The session over the real macro store, in the same files.
class SessionWithStoreTest : public SessionTest {
  protected:
    // Button `entry` of profile `p` of Monitor's block plays macro `name`
    // with `count` presses of key A.
    void GiveMacro(int p, int entry, const char* name, int count) {
        settings::ButtonAssignment& b = link.section->profiles[p].MacroKeyInfo[entry];
        b.actionCode = settings::action::kMacro;
        settings::CopyField(b.macroName, name);
        b.eventCount = static_cast<std::uint16_t>(count);
        for (int i = 0; i < count; ++i) b.events[i] = {0x04, 1, 0};
    }
    // The names and event counts config\sequence.dat holds.
    std::vector<std::pair<std::string, int>> OnDisk() {
        option::MacroFileStore read(engine, kFolder);
        read.Load();
        std::vector<std::pair<std::string, int>> all;
        for (int i = 0; i < read.Count(); ++i)
            all.emplace_back(option::NameOf(read.MacroAt(i)->name, option::kMacroNameSize),
                             read.MacroAt(i)->eventCount);
        return all;
    }
    // The user's session in the manager: a new macro, and "Burst" recorded
    // again with three events. Monitor then switches the profile, its block
    // naming one more macro and Burst with its old single event.
    void EditWhileTheMouseSwitches() {
        withStore.MacroManagerOpened();
        macroStore.AddNamed("Fresh");
        macroStore.MacroAt(0)->eventCount = 3;
        link.section->currentProfile = 0;
        GiveMacro(3, 2, "Other", 2);
        ASSERT_TRUE(withStore.ProfileChanged());
    }

    option::MacroFileStore macroStore{engine, kFolder};
    OptionSession withStore{files, nullptr, link, peers, macroStore};
};

TEST_F(SessionWithStoreTest, AProfileSwitchLeavesTheMacroManagersSessionAlone) {
    MonitorUp();
    GiveMacro(1, 5, "Burst", 1);
    withStore.Start();
    using Saved = std::vector<std::pair<std::string, int>>;
    ASSERT_EQ(OnDisk(), (Saved{{"Burst", 1}}));

    // Nothing is merged into the open session, nor saved.
    EditWhileTheMouseSwitches();
    EXPECT_EQ(macroStore.Count(), 2);
    EXPECT_EQ(macroStore.MacroAt(0)->eventCount, 3);
    EXPECT_EQ(OnDisk(), (Saved{{"Burst", 1}}));

    // Cancel: the file's store, then what the switch brought.
    withStore.MacroManagerClosed(false);
    EXPECT_EQ(OnDisk(), (Saved{{"Burst", 1}, {"Other", 2}}));

    // OK: the session as the user left it, the recording included, and
    // what the switch brought beside it.
    EditWhileTheMouseSwitches();
    withStore.MacroManagerClosed(true);
    EXPECT_EQ(OnDisk(), (Saved{{"Burst", 3}, {"Other", 2}, {"Fresh", 0}}));

    // With the manager closed, a switch merges and saves at once again.
    GiveMacro(4, 1, "Later", 1);
    ASSERT_TRUE(withStore.ProfileChanged());
    EXPECT_EQ(OnDisk().back(), (std::pair<std::string, int>{"Later", 1}));
}

// Import and export act on the profile they were given (the one shown when
// the user chose the command); a failed import changes nothing of the
// profile, its return-after-game choice included.
TEST_F(SessionWithStoreTest, ImportAndExportActOnTheirProfileAndAFailedImportOnNothing) {
    withStore.Start();
    withStore.SelectProfile(3);
    settings::ProfileRecord chosen = withStore.Edit().profiles[0];
    settings::CopyField(chosen.ProFileName, "Chosen");
    auto holder = std::make_unique<settings::SettingsBlock>(withStore.Edit());
    holder->profiles[0] = chosen;
    ASSERT_TRUE(option::ExportProfile(files, "D:\\chosen.gmp", *holder, 0, true));

    ASSERT_EQ(withStore.Import("D:\\chosen.gmp", 1), option::ImportResult::Copied);
    EXPECT_STREQ(withStore.Edit().profiles[1].ProFileName, "Chosen");
    EXPECT_STREQ(withStore.Edit().profiles[3].ProFileName, "Default4");
    EXPECT_TRUE(withStore.ReturnChoices()[1]);
    EXPECT_FALSE(withStore.ReturnChoices()[3]);
    ASSERT_TRUE(withStore.Export("D:\\out.gmp", 1));
    EXPECT_NE(store.files["D:\\out.gmp"].find("ProFileName=Chosen"), std::string::npos);

    // The profile's own file cannot be replaced: profile 2 is read back from
    // it, and keeps its own choice.
    ASSERT_TRUE(withStore.Apply(option::ApplyKind::Edits).saved);
    store.readOnlyFolders.push_back("C:\\Prog\\config\\");
    EXPECT_EQ(withStore.Import("D:\\chosen.gmp", 2), option::ImportResult::CopyFailed);
    EXPECT_STREQ(withStore.Edit().profiles[2].ProFileName, "Default3");
    EXPECT_FALSE(withStore.ReturnChoices()[2]);
}

}  // namespace
