// The macro store against config\sequence.dat held in memory and read back
// through the settings engine.
#include "option/model/dialogs/macro_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>

#include "option/model/session/option_session.h"
#include "tests/unit/option/model/session_fakes.h"
#include "tests/unit/common/settings/memory_store.h"

namespace {

using option::MacroFileStore;
using option::MacroRecord;
using settings::ButtonAssignment;

constexpr const char* kFolder = "C:\\Mouse\\";
const std::string kPath = std::string(kFolder) + "config\\sequence.dat";

struct StoreFixture : ::testing::Test {
    testing_files::MemoryStore disk;
    settings::EngineIniFileSystem fs{disk};
    MacroFileStore store{fs, kFolder};

    MacroRecord& AddMacro(const char* name, int events, int repeat = 0) {
        MacroRecord& r = store.AddNamed(name);
        r.repeatValue = repeat;
        r.eventCount = events;
        for (int i = 0; i < events; ++i)
            r.events[i] = {static_cast<std::uint8_t>(4 + i), static_cast<std::uint8_t>(1 + i % 2),
                           static_cast<std::uint16_t>(i * 10)};
        return r;
    }
    // The lines of section Macros as the file holds them.
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        std::istringstream in(disk.files[kPath]);
        std::string line;
        while (std::getline(in, line)) lines.push_back(line);
        return lines;
    }
    void WriteRaw(const std::string& text) { disk.files[kPath] = text; }
};

ButtonAssignment MacroEntry(const char* name, int events, std::uint8_t firstKey) {
    ButtonAssignment e;
    std::memset(&e, 0, sizeof e);
    e.actionCode = settings::action::kMacro;
    std::strncpy(e.macroName, name, sizeof e.macroName);
    e.eventCount = static_cast<std::uint16_t>(events);
    for (int i = 0; i < events; ++i) e.events[i] = {firstKey, 1, 0};
    return e;
}

TEST_F(StoreFixture, SaveWritesNumberAndOneKeyPerMacroThatTheEngineReadsBack) {
    AddMacro("Reload", 3, 2);
    AddMacro("Jump", 40);
    ASSERT_TRUE(store.Save());

    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 4u);  // [Macros], number, 0, 1: nothing else
    EXPECT_EQ(lines[0], "[Macros]\r");
    EXPECT_EQ(lines[1], "number=2\r");

    std::unique_ptr<settings::IniFile> file = fs.Open(kPath);
    EXPECT_EQ(file->GetInt("Macros", "number", -1), 2);
    MacroRecord back;
    ASSERT_TRUE(file->GetStruct("Macros", "1", &back, sizeof back));
    EXPECT_EQ(std::memcmp(&back, store.MacroAt(1), sizeof back), 0);
    EXPECT_EQ(lines[2].size(), std::string("0=").size() + 442 + 1);

    MacroFileStore again(fs, kFolder);
    ASSERT_TRUE(again.Load());
    ASSERT_EQ(again.Count(), 2);
    EXPECT_STREQ(again.MacroAt(0)->name, "Reload");
    EXPECT_EQ(again.MacroAt(0)->repeatValue, 2);
    EXPECT_EQ(std::memcmp(again.MacroAt(1), store.MacroAt(1), sizeof(MacroRecord)), 0);
}

TEST_F(StoreFixture, SaveReplacesTheFileWholeAndKeepsTheOldOneWhenWritingFails) {
    AddMacro("A", 1);
    AddMacro("B", 1);
    AddMacro("C", 1);
    ASSERT_TRUE(store.Save());
    store.RemoveAt(1);
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(Lines().size(), 4u);  // key 2 of the old file is gone

    // Saved again as it is: the file is not touched.
    const int changes = disk.changes;
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(disk.changes, changes);

    const std::string before = disk.files[kPath];
    store.AddNamed("D");
    disk.crashAfter = 0;  // the temporary file is cut in half
    EXPECT_FALSE(store.Save());
    EXPECT_EQ(disk.files[kPath], before);
}

TEST_F(StoreFixture, LoadAppendsAndAMissingFileAddsNothing) {
    EXPECT_TRUE(store.Load());
    EXPECT_EQ(store.Count(), 0);
    AddMacro("A", 2);
    ASSERT_TRUE(store.Save());
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.Count(), 2);  // not cleared first
    store.Clear();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.MacroAt(0), nullptr);
    EXPECT_EQ(store.MacroAt(-1), nullptr);
}

TEST_F(StoreFixture, LoadSkipsDamagedRecordsAndCutsUnterminatedNames) {
    MacroRecord good{};
    std::strcpy(good.name, "Good");
    good.eventCount = 1;
    MacroRecord tooMany = good;
    tooMany.eventCount = 41;
    MacroRecord negative = good;
    negative.eventCount = -1;
    MacroRecord noTerminator = good;
    std::memset(noTerminator.name, 'x', sizeof noTerminator.name);
    std::string badChecksum = settings::EncodeStruct(&good, sizeof good);
    badChecksum.back() = badChecksum.back() == '0' ? '1' : '0';

    WriteRaw("[Macros]\r\nnumber=7\r\n0=" + settings::EncodeStruct(&good, sizeof good) +
             "\r\n1=" + badChecksum + "\r\n2=" + settings::EncodeStruct(&tooMany, sizeof good) +
             "\r\n3=" + settings::EncodeStruct(&negative, sizeof good) +
             "\r\n4=" + settings::EncodeStruct(&noTerminator, sizeof good) +
             "\r\n5=" + settings::EncodeStruct(&good, 100) + "\r\n");  // 6: missing
    ASSERT_TRUE(store.Load());
    ASSERT_EQ(store.Count(), 2);
    EXPECT_STREQ(store.MacroAt(0)->name, "Good");
    EXPECT_EQ(std::string(store.MacroAt(1)->name), std::string(51, 'x'));
}

TEST_F(StoreFixture, AHugeNumberLoadsOnlyTheRecordsThatExistUpToTheCap) {
    MacroRecord good{};
    std::strcpy(good.name, "Only");
    WriteRaw("[Macros]\r\nnumber=2147483647\r\n0=" + settings::EncodeStruct(&good, sizeof good) +
             "\r\n" + std::to_string(option::kMaxLoadedMacros) + "=" +
             settings::EncodeStruct(&good, sizeof good) + "\r\n");
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.Count(), 1);  // the key beyond the cap is not read
}

TEST_F(StoreFixture, FindByNameIgnoresCaseAndBlanksAndComparesTheEvents) {
    MacroRecord& r = AddMacro("  fireBall ", 2);
    AddMacro("Fire", 0);
    ButtonAssignment entry = MacroEntry("FIREBALL", 2, 0);
    std::memcpy(entry.events, r.events, sizeof entry.events);
    EXPECT_EQ(store.FindByName(entry).index, 0);
    EXPECT_TRUE(store.FindByName(entry).same);
    entry.events[1].delayMs = 7;
    EXPECT_FALSE(store.FindByName(entry).same);
    EXPECT_EQ(store.FindByName(MacroEntry("Fir", 0, 0)).index, -1);
    EXPECT_EQ(store.FindByName(MacroEntry("fire", 0, 0)).index, 1);
}

TEST_F(StoreFixture, MergeAddsMissingMacrosAndTheLaterEntryWinsOnAMismatch) {
    auto block = std::make_unique<settings::SettingsBlock>();
    std::memset(block.get(), 0, sizeof *block);
    MacroRecord& kept = AddMacro("Kept", 1, 9);
    block->profiles[0].MacroKeyInfo[3] = MacroEntry("kept", 2, 0x10);
    block->profiles[2].MacroKeyInfo[0] = MacroEntry("KEPT", 3, 0x20);
    block->profiles[1].MacroKeyInfo[5] = MacroEntry("New", 1, 0x30);
    block->profiles[1].MacroKeyInfo[6] = MacroEntry("   ", 1, 0x30);  // blank: no macro
    ButtonAssignment notMacro = MacroEntry("Other", 1, 0x40);
    notMacro.actionCode = settings::action::kKeyCombination;
    block->profiles[1].MacroKeyInfo[7] = notMacro;
    // A damaged entry count never copies more than the 40 slots.
    ButtonAssignment huge = MacroEntry("Huge", 40, 0x50);
    huge.eventCount = 60000;
    block->profiles[4].MacroKeyInfo[15] = huge;

    store.MergeFromProfiles(*block, option::MacroMerge::ButtonsWin);
    ASSERT_EQ(store.Count(), 3);
    EXPECT_EQ(kept.eventCount, 3);
    EXPECT_EQ(kept.events[0].keyCode, 0x20);
    EXPECT_EQ(kept.repeatValue, 9);
    EXPECT_STREQ(store.MacroAt(1)->name, "New");
    EXPECT_EQ(store.MacroAt(1)->repeatValue, 0);
    EXPECT_EQ(store.MacroAt(2)->eventCount, 40);

    store.MergeFromProfiles(*block, option::MacroMerge::ButtonsWin);  // everything matches now
    EXPECT_EQ(store.Count(), 3);
}

TEST_F(StoreFixture, OptionStartBringsTheButtonsMacrosIntoTheSavedFile) {
    AddMacro("Kept", 2);
    ASSERT_TRUE(store.Save());
    store.Clear();
    option_test::FakeLink link;
    option_test::FakePeers peers;
    settings::FillDefaults(*link.section, settings::DefaultsFor::Monitor);
    link.section->profiles[1].MacroKeyInfo[4] = MacroEntry("Dash", 2, 0x2C);
    link.exists = link.open = peers.monitor = true;
    settings::SettingsFiles files{fs, kFolder};
    option::OptionSession session{files, nullptr, link, peers, store};
    session.Start();

    MacroFileStore fromFile(fs, kFolder);
    ASSERT_TRUE(fromFile.Load());
    ASSERT_EQ(fromFile.Count(), 2);
    EXPECT_STREQ(fromFile.MacroAt(0)->name, "Kept");
    EXPECT_STREQ(fromFile.MacroAt(1)->name, "Dash");
    EXPECT_EQ(fromFile.MacroAt(1)->events[1].keyCode, 0x2C);
}

TEST(MacroNames, NamesAreCutToTheirFieldAndNeverReadPastIt) {
    char field[20];
    option::CopyName(field, sizeof field, std::string(30, 'n'));
    EXPECT_EQ(option::NameOf(field, sizeof field), std::string(19, 'n'));
    char raw[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(option::NameOf(raw, sizeof raw), "abcd");
    EXPECT_EQ(option::TrimBlanks(" \t a b \t"), "a b");
}

}  // namespace
