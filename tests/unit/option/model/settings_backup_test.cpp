#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "common/settings/ini_engine.h"
#include "option/model/session/option_session.h"
#include "tests/unit/option/model/session_fakes.h"

namespace {

using option::BackupPart;
using option::MacroRecord;

class BackupTest : public ::testing::Test {
  protected:
    BackupTest() {
        settings::FillDefaults(*link.section, settings::DefaultsFor::Monitor);
        link.exists = true;
        link.open = true;
        peers.monitor = true;
        session.Start();
        settings::SettingsBlock& edit = session.Edit();
        edit.currentProfile = 3;
        settings::CopyField(edit.profiles[1].ProFileName, "Race [night]; = fast");
        settings::CopyField(edit.profiles[4].GameFile, "D:\\Games\\Race.exe");
        edit.profiles[2].MacroKeyInfo[7].actionCode = settings::action::kMacro;
        edit.profiles[2].MacroKeyInfo[7].events[3] = {0x1E, 2, 640};
        edit.profiles[0].CpiLevel_X[2] = 32;
        MacroRecord macro{};
        std::strcpy(macro.name, "combo");
        macro.eventCount = 2;
        macro.events[1] = {0x04, 1, 15};
        macros.records = {macro, MacroRecord{}};
        session.ReturnChoices()[4] = true;
    }
    // What a restore must bring back, change flags aside.
    void ExpectSameAsBefore(const settings::SettingsBlock& before) {
        settings::SettingsBlock restored = session.Edit();
        settings::ClearChanges(restored);
        const auto* a = reinterpret_cast<const unsigned char*>(&restored);
        const auto* b = reinterpret_cast<const unsigned char*>(&before);
        for (std::size_t i = 0; i < sizeof before; ++i)
            ASSERT_EQ(a[i], b[i]) << "first difference at byte " << i;
    }

    testing_files::MemoryStore store;
    settings::EngineIniFileSystem engine{store};
    settings::SettingsFiles files{engine, "C:\\Prog\\"};
    option_test::FakeLink link;
    option_test::FakePeers peers;
    option_test::CountingMacroStore macros;
    option::OptionSession session{files, nullptr, link, peers, macros};
};

TEST_F(BackupTest, ARestoredBackupReplacesEverythingAfterAReset) {
    const std::string text = session.BackupText();
    auto before = std::make_unique<settings::SettingsBlock>(session.Edit());
    settings::ClearChanges(*before);
    const settings::OsdSettings osd = session.Osd();
    const auto records = macros.records;

    session.ResetToDefaults();
    macros.records.clear();
    session.ReturnChoices() = {};
    ASSERT_EQ(session.RestoreBackup(text).part, BackupPart::None);

    ExpectSameAsBefore(*before);
    for (int i = 0; i < settings::kChangeFlagCount; ++i)
        ASSERT_EQ(settings::ChangeFlag(session.Edit(), i), 1) << i;
    EXPECT_EQ(std::memcmp(&session.Osd(), &osd, sizeof osd), 0);
    ASSERT_EQ(macros.records.size(), records.size());
    EXPECT_EQ(std::memcmp(&macros.records[0], &records[0], sizeof(MacroRecord)), 0);
    EXPECT_EQ(session.ReturnChoices(),
              (settings::ReturnAfterGame{false, false, false, false, true}));

    // The choices live in config.ini beside the block: an Apply keeps them
    // for the next start.
    session.Apply(option::ApplyKind::Reset);
    option::OptionSession later{files, nullptr, link, peers, macros};
    later.Start();
    EXPECT_TRUE(later.ReturnChoices()[4]);
    EXPECT_FALSE(later.ReturnChoices()[0]);
}

TEST_F(BackupTest, ADamagedPartIsNamedAndNothingChanges) {
    const std::string good = session.BackupText();
    struct Damage {
        const char* pattern;
        const char* replacement;
        BackupPart part;
        int profile;
    };
    const Damage damages[] = {
        {"Version=1", "Version=2", BackupPart::Version, -1},
        {"\\[Backup\\]\r\nVersion=1\r\n", "", BackupPart::Version, -1},
        {"CurrentProfile=3", "CurrentProfile=9", BackupPart::General, -1},
        {"MouseColor=[^\r]*", "MouseColor=red", BackupPart::General, -1},
        {"(\\[Profile2\\][^\\[]*)PollingRate=[^\r]*\r\n", "$1", BackupPart::Profile, 2},
        {"(\\[Profile4\\][^\\[]*MacroKeyInfo15=[0-9A-F]*)[0-9A-F]\r\n", "$1\r\n",
         BackupPart::Profile, 4},
        {"(\\[Profile0\\][^\\[]*ReturnAfterGame=)0", "$1yes", BackupPart::Profile, 0},
        {"config=[0-9A-F]{10}", "config=00000000FF", BackupPart::Notices, -1},
        {"number=2", "number=3", BackupPart::Macros, -1},
        {"\r\n1=[0-9A-F]*", "\r\n1=00", BackupPart::Macros, -1},
    };
    auto edit = std::make_unique<settings::SettingsBlock>(session.Edit());
    for (const Damage& d : damages) {
        const std::string bad = std::regex_replace(good, std::regex(d.pattern), d.replacement,
                                                   std::regex_constants::format_first_only);
        ASSERT_NE(bad, good) << d.pattern;
        const option::BackupProblem problem = session.RestoreBackup(bad);
        EXPECT_EQ(problem.part, d.part) << d.pattern;
        EXPECT_EQ(problem.profile, d.profile) << d.pattern;
        EXPECT_EQ(std::memcmp(&session.Edit(), edit.get(), sizeof *edit), 0) << d.pattern;
        EXPECT_EQ(macros.records.size(), 2u);
    }
}

}  // namespace
