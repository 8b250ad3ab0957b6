#include "monitor/runtime/game_watch.h"

#include <gtest/gtest.h>

#include <cstring>

namespace runtime {
namespace {

TEST(GameFileNameTest, TrimsAndDropsDriveAndDirectory) {
    EXPECT_EQ(GameFileName("  C:\\Games\\Quake\\QUAKE.EXE\t"), "QUAKE.EXE");
    EXPECT_EQ(GameFileName("D:game.exe"), "game.exe");
    EXPECT_EQ(GameFileName("/usr/games/doom"), "doom");
    EXPECT_EQ(GameFileName("   "), "");
    EXPECT_EQ(GameFileName("C:\\Games\\"), "");
}

class MatchTest : public ::testing::Test {
  protected:
    MatchTest() { settings::FillDefaults(block, settings::DefaultsFor::Monitor); }
    settings::SettingsBlock block;
};

TEST_F(MatchTest, LowestProfileWinsAndDirectoriesAreNeverCompared) {
    settings::CopyField(block.profiles[1].GameFile, "C:\\A\\Game.exe");
    settings::CopyField(block.profiles[2].GameFile, "E:\\Elsewhere\\GAME.EXE");
    EXPECT_EQ(MatchGameProfile(block, "game.exe"), 1);
    EXPECT_EQ(MatchGameProfile(block, "other.exe"), -1);
    EXPECT_EQ(MatchGameProfile(block, ""), -1);
}

TEST_F(MatchTest, ExtensionMustMatchToo) {
    settings::CopyField(block.profiles[0].GameFile, "C:\\Games\\quake");
    EXPECT_EQ(MatchGameProfile(block, "quake.exe"), -1);
    EXPECT_EQ(MatchGameProfile(block, "quake"), 0);
}

TEST_F(MatchTest, GameFileFillingItsWholeFieldIsNotReadPastItsEnd) {
    std::memset(block.profiles[4].GameFile, 'g', sizeof block.profiles[4].GameFile);
    EXPECT_EQ(MatchGameProfile(block, std::string(sizeof block.profiles[4].GameFile, 'G')), 4);
}

class FixedForeground : public ForegroundQuery {
  public:
    bool ForegroundExeName(std::string& name) override {
        name = exe;
        return found;
    }
    bool ProcessRunning(std::string_view) override {
        ADD_FAILURE() << "the poll walks processes only for a pending return";
        return false;
    }
    std::string exe;
    bool found = true;
};

TEST_F(MatchTest, PollSwitchesOnlyToAnotherProfile) {
    settings::CopyField(block.profiles[2].GameFile, "Race.Exe");
    FixedForeground fg;
    fg.exe = "RACE.EXE";
    EXPECT_EQ(PollGameProfile(block, fg), 2);
    block.currentProfile = 2;
    EXPECT_EQ(PollGameProfile(block, fg), -1);
    fg.found = false;
    block.currentProfile = 0;
    EXPECT_EQ(PollGameProfile(block, fg), -1);
}

}  // namespace
}  // namespace runtime
