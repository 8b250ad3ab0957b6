#include "option/model/session/profile_transfer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/settings/ini_engine.h"
#include "common/settings/ini_file.h"
#include "tests/unit/common/settings/memory_store.h"

namespace {

using option::ImportResult;
using settings::SettingsBlock;

constexpr const char* kFolder = "C:\\Prog\\";
constexpr const char* kOwn1 = "C:\\Prog\\config\\Default1.gmp";
constexpr const char* kChosen = "D:\\Users\\me\\fast.gmp";

class TransferTest : public ::testing::Test {
  protected:
    TransferTest() : block(std::make_unique<SettingsBlock>()) {
        settings::FillDefaults(*block, settings::DefaultsFor::Option);
        block->currentProfile = 1;
        settings::ClearChanges(*block);
    }
    // A profile file as Option writes it, named `name`.
    std::string ProfileText(const char* name, int pollingRate) {
        auto p = std::make_unique<settings::ProfileRecord>();
        settings::FillDefaultProfile(*p, 1, settings::DefaultsFor::Option);
        settings::CopyField(p->ProFileName, name);
        p->PollingRate = pollingRate;
        EXPECT_TRUE(settings::SaveProfileFile(engine, "X:\\tmp.gmp", *p));
        std::string text = store.files["X:\\tmp.gmp"];
        store.files.erase("X:\\tmp.gmp");
        return text;
    }
    bool ButtonFlagsOfProfile1Raised() const {
        for (int b = 0; b < 16; ++b)
            if (settings::ChangeFlag(*block, 15 + b) != 1)
                return false;
        return true;
    }
    bool NoTemporaryFilesLeft() const {
        for (const auto& [path, text] : store.files)
            if (path.find("~") != std::string::npos)
                return false;
        return true;
    }

    testing_files::MemoryStore store;
    settings::EngineIniFileSystem engine{store};
    settings::SettingsFiles files{engine, kFolder};
    std::unique_ptr<SettingsBlock> block;
};

TEST_F(TransferTest, ImportReplacesTheProfilesOwnFileAndRaisesItsButtonFlags) {
    store.files[kOwn1] = ProfileText("Old", 2);
    store.files[kChosen] = ProfileText("Imported", 3);
    EXPECT_EQ(option::ImportProfile(files, kChosen, *block, block->currentProfile),
              ImportResult::Copied);
    EXPECT_STREQ(block->profiles[1].ProFileName, "Imported");
    EXPECT_EQ(block->profiles[1].PollingRate, 3);
    EXPECT_TRUE(ButtonFlagsOfProfile1Raised());
    EXPECT_NE(store.files[kOwn1].find("ProFileName=Imported"), std::string::npos);
    EXPECT_STREQ(block->profiles[0].ProFileName, "Default1") << "other profiles untouched";
    EXPECT_TRUE(NoTemporaryFilesLeft());
}

TEST_F(TransferTest, ImportOfTheOwnFileInAnotherCaseReloadsWithoutWriting) {
    store.files[kOwn1] = ProfileText("On disk", 1);
    const std::string before = store.files[kOwn1];
    const int changesBefore = store.changes;
    EXPECT_EQ(option::ImportProfile(files, "c:\\PROG\\Config\\default1.GMP", *block,
                                    block->currentProfile),
              ImportResult::Unreadable)
        << "the memory store itself is case-sensitive";
    store.files["c:\\PROG\\Config\\default1.GMP"] = before;
    EXPECT_EQ(option::ImportProfile(files, "c:\\PROG\\Config\\default1.GMP", *block,
                                    block->currentProfile),
              ImportResult::ReloadedOwn);
    EXPECT_STREQ(block->profiles[1].ProFileName, "On disk");
    EXPECT_EQ(store.changes, changesBefore);
    EXPECT_EQ(store.files[kOwn1], before);
}

TEST_F(TransferTest, AFailedImportCopyKeepsTheProfilesFile) {
    store.files[kOwn1] = ProfileText("Keep me", 1);
    store.files[kChosen] = ProfileText("Imported", 3);
    store.readOnlyFolders.push_back("C:\\Prog\\config\\");
    EXPECT_EQ(option::ImportProfile(files, kChosen, *block, block->currentProfile),
              ImportResult::CopyFailed);
    EXPECT_STREQ(block->profiles[1].ProFileName, "Keep me");
    EXPECT_NE(store.files[kOwn1].find("ProFileName=Keep me"), std::string::npos);

    // A crash half-way through the copy leaves the old file whole as well.
    store.readOnlyFolders.clear();
    store.crashAfter = store.changes + 1;
    option::ImportProfile(files, kChosen, *block, block->currentProfile);
    EXPECT_NE(store.files[kOwn1].find("ProFileName=Keep me"), std::string::npos);
}

TEST_F(TransferTest, ImportAndExportDoNothingWithoutACurrentProfile) {
    store.files[kChosen] = ProfileText("Imported", 3);
    block->currentProfile = -1;
    const auto filesBefore = store.files;
    EXPECT_EQ(option::ImportProfile(files, kChosen, *block, block->currentProfile),
              ImportResult::NoProfile);
    EXPECT_FALSE(option::ExportProfile(files, "D:\\out.gmp", *block, block->currentProfile));
    block->currentProfile = 5;
    EXPECT_EQ(option::ImportProfile(files, kChosen, *block, block->currentProfile),
              ImportResult::NoProfile);
    EXPECT_EQ(store.files, filesBefore);
    for (int i = 0; i < settings::kChangeFlagCount; ++i)
        ASSERT_EQ(settings::ChangeFlag(*block, i), 0) << i;
}

TEST_F(TransferTest, ImportOfAMissingFileChangesNothing) {
    EXPECT_EQ(option::ImportProfile(files, "D:\\none.gmp", *block, block->currentProfile),
              ImportResult::Unreadable);
    EXPECT_FALSE(ButtonFlagsOfProfile1Raised());
}

TEST_F(TransferTest, AHostileFileGivesAUsableProfile) {
    settings::ButtonAssignment info;
    std::memset(&info, 'A', sizeof info);  // no terminators anywhere
    info.eventCount = 60000;
    info.buttonIndex = 200;
    std::string text = "[Setting]\r\nProFileName=" + std::string(5000, 'N') +
                       "\r\nGameFile=" + std::string(3000, 'G') +
                       "\r\nPollingRate=abc\r\nCpiStep=99\r\nMacroKeyInfo4=" +
                       settings::EncodeStruct(&info, sizeof info) + "\r\nMacroKeyInfo5=ZZZZ\r\n";
    store.files[kChosen] = text;
    ASSERT_EQ(option::ImportProfile(files, kChosen, *block, block->currentProfile),
              ImportResult::Copied);
    const settings::ProfileRecord& p = block->profiles[1];
    EXPECT_EQ(settings::FieldLength(p.ProFileName), 249u);
    EXPECT_EQ(settings::FieldLength(p.GameFile), 501u);
    // Numbers out of their rows' ranges, or missing (-1), are repaired.
    EXPECT_EQ(p.PollingRate, 0) << "non-numeric text reads as 0, a valid rate";
    EXPECT_EQ(p.CpiStep, 0);
    EXPECT_EQ(p.LightSwitch, 2);
    const settings::ButtonAssignment& b4 = p.MacroKeyInfo[4];
    EXPECT_EQ(b4.buttonIndex, 4);
    EXPECT_EQ(b4.eventCount, settings::kMaxMacroEvents);
    EXPECT_EQ(settings::FieldLength(b4.macroName), 19u);
    EXPECT_EQ(settings::FieldLength(b4.programPath), 261u);
    EXPECT_EQ(p.MacroKeyInfo[5].buttonIndex, 5);
    EXPECT_EQ(p.MacroKeyInfo[5].eventCount, 0);
}

TEST_F(TransferTest, ExportWritesAFreshFileInPlaceOfAnExistingOne) {
    store.files["D:\\out.gmp"] = "[Other]\r\nStale=1\r\n[Setting]\r\nProFileName=Old\r\n";
    settings::CopyField(block->profiles[1].ProFileName, "Exported");
    ASSERT_TRUE(option::ExportProfile(files, "D:\\out.gmp", *block, block->currentProfile));
    const std::string& out = store.files["D:\\out.gmp"];
    EXPECT_EQ(out.find("Stale"), std::string::npos) << "nothing of the old file stays";
    EXPECT_NE(out.find("ProFileName=Exported"), std::string::npos);
    EXPECT_TRUE(NoTemporaryFilesLeft());

    // Read back through the loader: the same record.
    auto back = std::make_unique<settings::ProfileRecord>();
    std::memset(back.get(), 0, sizeof *back);
    ASSERT_TRUE(settings::LoadProfileFile(engine, "D:\\out.gmp", *back));
    EXPECT_EQ(std::memcmp(back.get(), &block->profiles[1], sizeof *back), 0);
}

TEST_F(TransferTest, AFailedExportKeepsTheExistingFile) {
    store.files["D:\\out.gmp"] = "[Setting]\r\nProFileName=Old\r\n";
    store.readOnlyFolders.push_back("D:\\");
    EXPECT_FALSE(option::ExportProfile(files, "D:\\out.gmp", *block, block->currentProfile));
    EXPECT_EQ(store.files["D:\\out.gmp"], "[Setting]\r\nProFileName=Old\r\n");

    store.readOnlyFolders.clear();
    store.crashAfter = store.changes + 1;
    EXPECT_FALSE(option::ExportProfile(files, "D:\\out.gmp", *block, block->currentProfile));
    EXPECT_EQ(store.files["D:\\out.gmp"], "[Setting]\r\nProFileName=Old\r\n");
}

TEST(FirmwareVersion, ShowsOneToFiveWithTwoDecimalsAndNAOtherwise) {
    EXPECT_EQ(option::FirmwareVersionText(99), "N/A");
    EXPECT_EQ(option::FirmwareVersionText(100), "1.00");
    EXPECT_EQ(option::FirmwareVersionText(105), "1.05");
    EXPECT_EQ(option::FirmwareVersionText(112), "1.12");
    EXPECT_EQ(option::FirmwareVersionText(500), "5.00");
    EXPECT_EQ(option::FirmwareVersionText(501), "N/A");
    EXPECT_EQ(option::FirmwareVersionText(-1), "N/A");
}

}  // namespace
