// The macro manager's state, free of windows: which macro and event are
// selected, the working copy of the selected macro's events, recording, and
// every edit command. The dialog shows this state and forwards its messages;
// the store is changed only through here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/settings/key_codes.h"
#include "common/settings/settings_block.h"
#include "option/model/dialogs/macro_store.h"

namespace option {

// Longest name the user may type: it must fit the 20-byte name of a button's
// macro entry with its terminator.
inline constexpr std::size_t kMaxTypedMacroName = 15;
inline constexpr int kMaxRepeatCount = 65535;

// Bitmap resource ids the event list draws in front of an item.
enum class EventItemKind : std::uint16_t {
    Delay = 135,
    KeyRelease = 137,
    KeyPress = 138,
    MouseButton = 146,
};

struct EventItem {
    int eventIndex;  // 0-based
    EventItemKind kind;
    // The list's item data: ((event index + 1) << 16) | kind.
    std::uint32_t Data() const {
        return (static_cast<std::uint32_t>(eventIndex + 1) << 16) |
               static_cast<std::uint32_t>(kind);
    }
};

// The words a screen reader puts before the text of an event item: the item
// shows a key's press or release, and a delay's line, by its picture.
struct SpokenEventWords {
    std::string press;
    std::string release;
    std::string delay;
};
// "Press A", "Release A", "Delay 50 ms" for the item of `itemData` showing
// `shown`; a mouse button's item says it in its text ("... Down").
std::string SpokenEventItem(std::uint32_t itemData, const std::string& shown,
                            const SpokenEventWords& words);

// What a command asks the dialog to do beyond showing the new state.
enum class EditorOutcome {
    Done,        // the state changed
    Ignored,     // nothing to act on: nothing changed
    NeedsMacro,  // no macro selected: show the macro-required warning
    Started,     // recording started: install the key hook
    Stopped,     // recording stopped: remove the key hook
};

// Context-menu commands on the event list.
namespace macro_command {
inline constexpr int kRecordBefore = 1001;
inline constexpr int kRecordAfter = 1002;
inline constexpr int kInsertDelay = 1003;
inline constexpr int kEditDelay = 1004;
inline constexpr int kDelete = 1005;
inline constexpr int kFirstMouseInsert = 1020;  // 1020 + 3 * button + (press, release, click)
inline constexpr int kLastMouseInsert = 1034;
}  // namespace macro_command

class MacroEditor {
  public:
    explicit MacroEditor(MacroFileStore& store) : store_(store) {}

    // Opening: the macro whose name equals `buttonMacroName` ignoring case
    // and blanks, else the first macro, none in an empty store.
    void Open(const std::string& buttonMacroName);
    // The macro list's selection changed (an index outside the store selects none).
    void SelectMacro(int index);

    // Record button: fresh recording, or stop while recording.
    EditorOutcome RecordButton();
    // kMsgCapturedKey while recording: `vk` and `released` for the repeat
    // filter, `keyCode` the device code of that key (0 when it has none),
    // `nowMs` the tick count.
    EditorOutcome OnKey(int vk, bool released, std::uint8_t keyCode, std::uint32_t nowMs);
    void SetRecordDelays(bool on) { recordDelays_ = on; }

    // Context-menu command on the event list item `item` (-1: none selected).
    EditorOutcome Command(int command, int item);
    // In-place edit of a delay item committed with `text`.
    EditorOutcome CommitDelayEdit(int item, const std::string& text);

    // The name typed for a new macro: false (nothing made) when it is blank
    // or another macro has it ignoring case.
    bool NewMacro(const std::string& typed);
    // After the delete warning's OK.
    EditorOutcome DeleteMacro();

    EditorOutcome SetRepeatCheck(bool on);
    // Repeat edit left: the number to show.
    int CommitRepeatText(const std::string& text);

    int SelectedMacro() const { return selectedMacro_; }
    int EventCount() const { return count_; }
    const settings::MacroEvent& Event(int i) const { return events_[static_cast<std::size_t>(i)]; }
    const std::vector<EventItem>& Items() const { return items_; }
    // The text the event list shows for item `item`: the key's name (mouse
    // buttons with " Down" or " Up"), or "%d ms" for a delay item.
    std::string ItemText(int item, const settings::KeyboardLayout& layout) const;
    // The item whose list data is `data`; -1 when none has it (the list may
    // have dropped a line the editor still has, until the next rebuild).
    int ItemOfData(std::uint32_t data) const;
    int CaretItem() const { return caretItem_; }
    int VisibleItem() const { return visibleItem_; }
    bool Recording() const { return recording_; }
    bool RepeatChecked() const { return repeatChecked_; }
    int RepeatCount() const { return repeatCount_; }
    std::vector<std::string> MacroNames() const;

  private:
    void LoadSelected();
    void Rebuild();
    void WriteBack();
    void StartRecording();
    void StopRecording();
    bool Insert(settings::MacroEvent event);
    bool EventItemValid(int item) const;

    MacroFileStore& store_;
    int selectedMacro_ = -1;
    std::array<settings::MacroEvent, settings::kMaxMacroEvents> events_{};
    int count_ = 0;
    bool repeatChecked_ = false;
    int repeatCount_ = 1;
    int insertion_ = -1;
    bool recording_ = false;
    bool recordDelays_ = false;
    bool eventRecorded_ = false;
    std::uint32_t lastTick_ = 0;
    int lastVk_ = -1;
    bool lastReleased_ = false;
    int selectedEvent_ = -1;
    std::vector<EventItem> items_;
    int caretItem_ = -1;
    int visibleItem_ = -1;
};

// A decimal number after leading blanks, saturating instead of wrapping; 0
// when there is none.
long long ParseLeadingNumber(const std::string& text);

}  // namespace option
