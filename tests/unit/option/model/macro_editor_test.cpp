// The macro manager's editor state over an in-memory store.
#include "option/model/dialogs/macro_editor.h"

#include <gtest/gtest.h>

#include "tests/unit/common/settings/memory_store.h"

namespace {

using option::EditorOutcome;
using option::EventItemKind;
using option::MacroEditor;
namespace cmd = option::macro_command;

struct EditorFixture : ::testing::Test {
    testing_files::MemoryStore disk;
    settings::EngineIniFileSystem fs{disk};
    option::MacroFileStore store{fs, "C:\\M\\"};
    MacroEditor editor{store};

    // A macro of `events` key presses (codes 4, 5, ...), with the given delays.
    void AddMacro(const char* name, int events, std::uint16_t delay = 0) {
        option::MacroRecord& r = store.AddNamed(name);
        r.eventCount = events;
        for (int i = 0; i < events; ++i) r.events[i] = {static_cast<std::uint8_t>(4 + i), 1, delay};
    }
    // Presses and releases key `vk` once (device code = vk).
    void Tap(int vk, std::uint32_t& now, std::uint32_t gap = 100) {
        editor.OnKey(vk, false, static_cast<std::uint8_t>(vk), now += gap);
        editor.OnKey(vk, true, static_cast<std::uint8_t>(vk), now += gap);
    }
    const option::MacroRecord& Stored(int k) { return *store.MacroAt(k); }
};

// --- without a selection every command does nothing -----------------------

TEST_F(EditorFixture, AnEmptyStoreSelectsNothingAndEveryCommandIsRefused) {
    editor.Open("Fire");
    EXPECT_EQ(editor.SelectedMacro(), -1);
    EXPECT_EQ(editor.RecordButton(), EditorOutcome::NeedsMacro);
    EXPECT_EQ(editor.Command(cmd::kDelete, 0), EditorOutcome::NeedsMacro);
    EXPECT_EQ(editor.Command(cmd::kFirstMouseInsert, -1), EditorOutcome::NeedsMacro);
    EXPECT_EQ(editor.SetRepeatCheck(true), EditorOutcome::NeedsMacro);
    EXPECT_EQ(editor.CommitRepeatText("7"), 7);
    EXPECT_EQ(editor.DeleteMacro(), EditorOutcome::Ignored);
    EXPECT_EQ(editor.CommitDelayEdit(0, "5"), EditorOutcome::Ignored);
    EXPECT_EQ(store.Count(), 0);
}

TEST_F(EditorFixture, EventCommandsWithoutAnEventSelectedChangeNothing) {
    AddMacro("Empty", 0);
    AddMacro("Two", 2, 10);
    editor.Open("");
    for (int item : {-1, 0, 65533}) {
        EXPECT_EQ(editor.Command(cmd::kDelete, item), EditorOutcome::Ignored);
        EXPECT_EQ(editor.Command(cmd::kInsertDelay, item), EditorOutcome::Ignored);
        EXPECT_EQ(editor.Command(cmd::kEditDelay, item), EditorOutcome::Ignored);
    }
    EXPECT_EQ(Stored(0).eventCount, 0);  // never -1
    editor.SelectMacro(1);
    EXPECT_EQ(editor.Command(cmd::kDelete, 99), EditorOutcome::Ignored);
    EXPECT_EQ(Stored(1).eventCount, 2);
}

// --- opening and the macro list --------------------------------------------

TEST_F(EditorFixture, OpeningFromAButtonSelectsTheExactNameIgnoringCase) {
    AddMacro("Fireball", 1);
    AddMacro("fire", 1);
    editor.Open("FIRE");
    EXPECT_EQ(editor.SelectedMacro(), 1);
    editor.Open("Fir");
    EXPECT_EQ(editor.SelectedMacro(), 0);  // no exact name: the first macro
}

TEST_F(EditorFixture, NewMacroNamesAreTrimmedCutAndUniqueIgnoringCase) {
    AddMacro("Jump", 0);
    editor.Open("");
    EXPECT_FALSE(editor.NewMacro("   "));
    EXPECT_FALSE(editor.NewMacro(""));
    EXPECT_FALSE(editor.NewMacro("  jUMP "));
    EXPECT_EQ(editor.SelectedMacro(), 0);
    EXPECT_TRUE(editor.NewMacro("Jumper"));  // begins with an existing name: fine
    EXPECT_EQ(editor.SelectedMacro(), 1);
    EXPECT_TRUE(editor.NewMacro("  A name far too long to fit  "));
    EXPECT_STREQ(Stored(2).name, "A name far too");  // 15 characters, blank dropped
    EXPECT_EQ(store.Count(), 3);
}

TEST_F(EditorFixture, DeletingTheLastMacroClampsTheSelection) {
    AddMacro("A", 1);
    AddMacro("B", 2);
    editor.Open("b");
    EXPECT_EQ(editor.DeleteMacro(), EditorOutcome::Done);
    EXPECT_EQ(editor.SelectedMacro(), 0);
    EXPECT_EQ(editor.EventCount(), 1);
    EXPECT_EQ(editor.DeleteMacro(), EditorOutcome::Done);
    EXPECT_EQ(editor.SelectedMacro(), -1);
    EXPECT_EQ(editor.Items().size(), 0u);
}

// --- recording ---------------------------------------------------------------

TEST_F(EditorFixture, RecordingDropsAutoRepeatAndStartsFromAnEmptyList) {
    AddMacro("M", 5);
    editor.Open("M");
    ASSERT_EQ(editor.RecordButton(), EditorOutcome::Started);
    EXPECT_EQ(editor.EventCount(), 0);
    std::uint32_t now = 0;
    for (int i = 0; i < 10; ++i) editor.OnKey(0x41, false, 4, now += 30);  // held key
    editor.OnKey(0x41, true, 4, now += 30);
    EXPECT_EQ(editor.EventCount(), 2);
    EXPECT_EQ(editor.Event(0).state, 1);
    EXPECT_EQ(editor.Event(1).state, 2);
    EXPECT_EQ(editor.Event(0).delayMs, 0);  // record delays is off
    EXPECT_EQ(editor.RecordButton(), EditorOutcome::Stopped);
    EXPECT_EQ(Stored(0).eventCount, 2);

    // The last key of the previous run must not filter the first of this one.
    editor.RecordButton();
    editor.OnKey(0x41, true, 4, now += 30);
    EXPECT_EQ(editor.EventCount(), 1);
}

TEST_F(EditorFixture, DelaysFollowTheEventBeforeAndAreCappedAt6350) {
    AddMacro("M", 0);
    editor.Open("M");
    editor.SetRecordDelays(true);
    editor.RecordButton();
    std::uint32_t now = 1000;
    editor.OnKey(1, false, 4, now);
    editor.OnKey(1, true, 4, now += 250);
    editor.OnKey(2, false, 5, now += 100000);
    EXPECT_EQ(editor.Event(0).delayMs, 250);
    EXPECT_EQ(editor.Event(1).delayMs, 6350);
    EXPECT_EQ(editor.Event(2).delayMs, 0);
}

TEST_F(EditorFixture, TheFortiethEventStopsRecordingAndNoFortyFirstIsKept) {
    AddMacro("M", 39);
    editor.Open("M");
    ASSERT_EQ(editor.Command(cmd::kRecordAfter, static_cast<int>(editor.Items().size()) - 1),
              EditorOutcome::Started);
    std::uint32_t now = 0;
    EXPECT_EQ(editor.OnKey(9, false, 9, now += 5), EditorOutcome::Stopped);
    EXPECT_EQ(editor.OnKey(9, true, 9, now += 5), EditorOutcome::Ignored);
    EXPECT_EQ(Stored(0).eventCount, 40);
    EXPECT_EQ(Stored(0).events[39].keyCode, 9);
    EXPECT_EQ(editor.Command(cmd::kFirstMouseInsert + 2, -1), EditorOutcome::Ignored);
}

TEST_F(EditorFixture, RecordBeforeKeepsTheEventsAndInsertsInOrder) {
    AddMacro("M", 2);  // codes 4, 5
    editor.Open("M");
    ASSERT_EQ(editor.Command(cmd::kRecordBefore, 1), EditorOutcome::Started);
    std::uint32_t now = 0;
    Tap(7, now);
    editor.RecordButton();
    ASSERT_EQ(Stored(0).eventCount, 4);
    EXPECT_EQ(Stored(0).events[0].keyCode, 4);
    EXPECT_EQ(Stored(0).events[1].state, 1);
    EXPECT_EQ(Stored(0).events[1].keyCode, 7);
    EXPECT_EQ(Stored(0).events[2].state, 2);
    EXPECT_EQ(Stored(0).events[3].keyCode, 5);
    EXPECT_EQ(editor.Command(cmd::kDelete, 0), EditorOutcome::Done);  // idle again: commands work
}

// --- editing events ------------------------------------------------------------

TEST_F(EditorFixture, DelayEditsAreClampedAndAnEmptyCommitKeepsTheLineWithOne) {
    AddMacro("M", 2, 30);
    editor.Open("M");
    ASSERT_EQ(editor.Items()[1].kind, EventItemKind::Delay);
    EXPECT_EQ(editor.Command(cmd::kEditDelay, 1), EditorOutcome::Done);
    EXPECT_EQ(editor.Command(cmd::kEditDelay, 0), EditorOutcome::Ignored);
    EXPECT_EQ(editor.CommitDelayEdit(0, "5"), EditorOutcome::Ignored);  // not a delay line
    editor.CommitDelayEdit(1, "");
    EXPECT_EQ(Stored(0).events[0].delayMs, 1);
    EXPECT_EQ(editor.Items().size(), 4u);
    editor.CommitDelayEdit(1, "  99999999999999999999");
    EXPECT_EQ(Stored(0).events[0].delayMs, 6350);
    editor.CommitDelayEdit(1, "0");
    EXPECT_EQ(Stored(0).events[0].delayMs, 1);
    editor.CommitDelayEdit(3, "120");
    EXPECT_EQ(Stored(0).events[1].delayMs, 120);
    EXPECT_EQ(Stored(0).events[0].delayMs, 1);
}

TEST_F(EditorFixture, InsertDelayOnlyBetweenEventsWithoutOne) {
    AddMacro("M", 3);
    editor.Open("M");
    EXPECT_EQ(editor.Command(cmd::kInsertDelay, 0), EditorOutcome::Ignored);  // first event
    EXPECT_EQ(editor.Command(cmd::kInsertDelay, 2), EditorOutcome::Done);
    EXPECT_EQ(Stored(0).events[1].delayMs, 1);
    EXPECT_EQ(editor.Items()[editor.CaretItem()].kind, EventItemKind::Delay);
    EXPECT_EQ(editor.Command(cmd::kInsertDelay, 3), EditorOutcome::Ignored);  // a delay line
}

TEST_F(EditorFixture, DeleteRemovesADelayOrAnEventAndShiftsTheRest) {
    AddMacro("M", 3, 5);  // items: e0 d0 e1 d1 e2 d2
    editor.Open("M");
    editor.Command(cmd::kDelete, 1);
    EXPECT_EQ(Stored(0).events[0].delayMs, 0);
    EXPECT_EQ(editor.Items().size(), 5u);
    editor.Command(cmd::kDelete, 0);  // event 0
    EXPECT_EQ(Stored(0).eventCount, 2);
    EXPECT_EQ(Stored(0).events[0].keyCode, 5);
    EXPECT_EQ(Stored(0).events[1].keyCode, 6);
}

TEST_F(EditorFixture, MouseInsertsGoBeforeTheSelectedEventAndClicksNeedRoomForTwo) {
    AddMacro("M", 1);
    editor.Open("M");
    // Right button (b = 1) click before event 0.
    EXPECT_EQ(editor.Command(cmd::kFirstMouseInsert + 3 + 2, 0), EditorOutcome::Done);
    ASSERT_EQ(Stored(0).eventCount, 3);
    EXPECT_EQ(Stored(0).events[0].keyCode, 0xF1);
    EXPECT_EQ(Stored(0).events[0].state, 1);
    EXPECT_EQ(Stored(0).events[1].state, 2);
    EXPECT_EQ(Stored(0).events[2].keyCode, 4);
    EXPECT_EQ(editor.Items()[0].kind, EventItemKind::MouseButton);
    EXPECT_EQ(editor.Items()[0].Data(), (1u << 16) | 146u);
    // Backward release (b = 4) appended with nothing selected.
    editor.Command(cmd::kLastMouseInsert - 1, -1);
    EXPECT_EQ(Stored(0).events[3].keyCode, 0xF4);
    EXPECT_EQ(Stored(0).events[3].state, 2);

    AddMacro("Full", 39);
    editor.SelectMacro(1);
    EXPECT_EQ(editor.Command(cmd::kFirstMouseInsert + 2, -1), EditorOutcome::Ignored);
    EXPECT_EQ(Stored(1).eventCount, 39);
}

// --- repeat and caret -----------------------------------------------------------

TEST_F(EditorFixture, RepeatCountIsClampedAndStoredOnlyWhileChecked) {
    AddMacro("M", 1);
    editor.Open("M");
    EXPECT_EQ(editor.CommitRepeatText(" 70000"), 65535);
    EXPECT_EQ(Stored(0).repeatValue, 0);
    editor.SetRepeatCheck(true);
    EXPECT_EQ(Stored(0).repeatValue, 65535);
    EXPECT_EQ(editor.CommitRepeatText("0"), 1);
    EXPECT_EQ(editor.CommitRepeatText("abc"), 1);
    EXPECT_EQ(Stored(0).repeatValue, 1);
    editor.SetRepeatCheck(false);
    EXPECT_EQ(Stored(0).repeatValue, 0);
}

TEST_F(EditorFixture, TheCaretIsTheSelectedEventsLastLineWithContextInLongLists) {
    AddMacro("Short", 2, 7);
    AddMacro("Long", 20);
    editor.Open("Short");
    EXPECT_EQ(editor.CaretItem(), 3);  // the last event's delay line
    EXPECT_EQ(editor.VisibleItem(), 3);
    editor.SelectMacro(1);
    editor.Command(cmd::kInsertDelay, 10);  // delay after event 9: caret item 10
    EXPECT_EQ(editor.CaretItem(), 10);
    EXPECT_EQ(editor.VisibleItem(), 12);
}

}  // namespace

// --- what the event list shows ------------------------------------------------

// A layout without any key: every code plays back through the table's own key.
class NoLayout final : public settings::KeyboardLayout {
  public:
    unsigned VirtualKeyToScanCode(unsigned) const override { return 0; }
    unsigned ScanCodeToVirtualKey(unsigned) const override { return 0; }
};

TEST_F(EditorFixture, ItemTextsNameKeysMouseButtonsAndDelaysAndDataFindsTheirItems) {
    option::MacroRecord& r = store.AddNamed("M");
    r.eventCount = 3;
    r.events[0] = {0x04, 1, 250};  // A pressed, then 250 ms
    r.events[1] = {0xF2, 2, 0};    // wheel button released
    r.events[2] = {0xF0, 1, 0};    // left button pressed
    editor.Open("M");
    const NoLayout layout;
    ASSERT_EQ(editor.Items().size(), 4u);
    EXPECT_EQ(editor.ItemText(0, layout), "A");
    EXPECT_EQ(editor.ItemText(1, layout), "250 ms");
    EXPECT_EQ(editor.ItemText(2, layout), "Wheel Up");
    EXPECT_EQ(editor.ItemText(3, layout), "Left Down");
    EXPECT_EQ(editor.ItemText(4, layout), "");

    // The list may have dropped the delay line (Escape on its edit): the
    // other lines still reach their own items through their data.
    for (int i = 0; i < 4; ++i) EXPECT_EQ(editor.ItemOfData(editor.Items()[i].Data()), i);
    EXPECT_EQ(editor.ItemOfData((9u << 16) | 138u), -1);
}
