#include "option/model/dialogs/macro_editor.h"

#include <algorithm>
#include <cstring>

namespace option {
namespace {

constexpr std::uint8_t kFirstMouseCode = 0xF0;
constexpr std::uint8_t kLastMouseCode = 0xF4;
constexpr std::uint8_t kPress = static_cast<std::uint8_t>(settings::KeyState::Press);
constexpr std::uint8_t kRelease = static_cast<std::uint8_t>(settings::KeyState::Release);

bool IsMouseCode(std::uint8_t code) {
    return code >= kFirstMouseCode && code <= kLastMouseCode;
}

}  // namespace

long long ParseLeadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    constexpr long long kCeiling = 1LL << 40;  // far above any count or delay
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(kCeiling, value * 10 + (text[i] - '0'));
    return negative ? -value : value;
}

std::string MacroEditor::ItemText(int item, const settings::KeyboardLayout& layout) const {
    if (item < 0 || item >= static_cast<int>(items_.size()))
        return {};
    const EventItem& it = items_[static_cast<std::size_t>(item)];
    const settings::MacroEvent& e = events_[static_cast<std::size_t>(it.eventIndex)];
    if (it.kind == EventItemKind::Delay)
        return std::to_string(e.delayMs) + " ms";
    const settings::KeyLookup vk = settings::VirtualKeyFromKeyCode(e.keyCode, layout);
    std::string text = settings::KeyName(vk.found ? vk.value : 0);
    if (IsMouseCode(e.keyCode))
        text += e.state == kRelease ? " Up" : " Down";
    return text;
}

std::string SpokenEventItem(std::uint32_t itemData, const std::string& shown,
                            const SpokenEventWords& words) {
    const std::string* word = nullptr;
    switch (static_cast<EventItemKind>(itemData & 0xFFFFu)) {
        case EventItemKind::KeyPress:
            word = &words.press;
            break;
        case EventItemKind::KeyRelease:
            word = &words.release;
            break;
        case EventItemKind::Delay:
            word = &words.delay;
            break;
        case EventItemKind::MouseButton:
            break;
    }
    return word == nullptr || word->empty() ? shown : *word + " " + shown;
}

int MacroEditor::ItemOfData(std::uint32_t data) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].Data() == data)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::string> MacroEditor::MacroNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < store_.Count(); ++i) {
        const MacroRecord& r = *store_.MacroAt(i);
        names.push_back(NameOf(r.name, sizeof r.name));
    }
    return names;
}

void MacroEditor::Open(const std::string& buttonMacroName) {
    // Exact name, not a prefix: a button's "Fire" must not open "Fireball".
    const std::string wanted = TrimBlanks(buttonMacroName);
    int pick = store_.Count() > 0 ? 0 : -1;
    if (!wanted.empty()) {
        for (int i = 0; i < store_.Count(); ++i) {
            const MacroRecord& r = *store_.MacroAt(i);
            if (SameNameIgnoringCase(TrimBlanks(NameOf(r.name, sizeof r.name)), wanted)) {
                pick = i;
                break;
            }
        }
    }
    SelectMacro(pick);
}

void MacroEditor::SelectMacro(int index) {
    selectedMacro_ = store_.MacroAt(index) != nullptr ? index : -1;
    LoadSelected();
}

void MacroEditor::LoadSelected() {
    events_.fill({});
    count_ = 0;
    repeatChecked_ = false;
    repeatCount_ = 1;
    if (const MacroRecord* r = store_.MacroAt(selectedMacro_)) {
        count_ = std::clamp(r->eventCount, 0, settings::kMaxMacroEvents);
        std::memcpy(events_.data(), r->events, sizeof r->events);
        repeatChecked_ = r->repeatValue != 0;
        repeatCount_ = r->repeatValue <= 0 ? 1 : std::min(r->repeatValue, kMaxRepeatCount);
    }
    selectedEvent_ = count_ - 1;
    Rebuild();
}

void MacroEditor::Rebuild() {
    items_.clear();
    caretItem_ = -1;
    for (int i = 0; i < count_; ++i) {
        const settings::MacroEvent& e = events_[static_cast<std::size_t>(i)];
        EventItemKind kind =
            e.state == kRelease ? EventItemKind::KeyRelease : EventItemKind::KeyPress;
        if (IsMouseCode(e.keyCode))
            kind = EventItemKind::MouseButton;
        items_.push_back({i, kind});
        if (i == selectedEvent_)
            caretItem_ = static_cast<int>(items_.size()) - 1;
        if (e.delayMs != 0) {
            items_.push_back({i, EventItemKind::Delay});
            if (i == selectedEvent_)
                caretItem_ = static_cast<int>(items_.size()) - 1;
        }
    }
    const int n = static_cast<int>(items_.size());
    if (caretItem_ < 0 || caretItem_ >= n)
        caretItem_ = n - 1;
    // Deep inside a long list the caret item is shown with two items of
    // context below it.
    visibleItem_ = caretItem_;
    if (caretItem_ > 3 && caretItem_ < n - 1 - 3)
        visibleItem_ = caretItem_ + 2;
}

void MacroEditor::WriteBack() {
    MacroRecord* r = store_.MacroAt(selectedMacro_);
    if (r == nullptr)
        return;
    std::memcpy(r->events, events_.data(), sizeof r->events);
    r->eventCount = count_;
}

void MacroEditor::StartRecording() {
    recording_ = true;
    eventRecorded_ = false;
    // A key remembered from the previous run must not swallow the first key
    // of this one.
    lastVk_ = -1;
    lastReleased_ = false;
}

void MacroEditor::StopRecording() {
    recording_ = false;
    lastTick_ = 0;
    WriteBack();
}

EditorOutcome MacroEditor::RecordButton() {
    if (selectedMacro_ < 0)
        return EditorOutcome::NeedsMacro;
    if (recording_) {
        StopRecording();
        Rebuild();
        return EditorOutcome::Stopped;
    }
    events_.fill({});
    count_ = 0;
    insertion_ = -1;
    selectedEvent_ = -1;
    Rebuild();
    StartRecording();
    return EditorOutcome::Started;
}

bool MacroEditor::Insert(settings::MacroEvent event) {
    if (count_ >= settings::kMaxMacroEvents)
        return false;
    const int at = insertion_ < 0 || insertion_ > count_ ? count_ : insertion_;
    for (int i = count_; i > at; --i)
        events_[static_cast<std::size_t>(i)] = events_[static_cast<std::size_t>(i - 1)];
    events_[static_cast<std::size_t>(at)] = event;
    ++count_;
    if (insertion_ >= 0)
        insertion_ = at + 1;
    selectedEvent_ = at;
    return true;
}

EditorOutcome MacroEditor::OnKey(int vk, bool released, std::uint8_t keyCode, std::uint32_t nowMs) {
    if (!recording_)
        return EditorOutcome::Ignored;
    if (vk == lastVk_ && released == lastReleased_)
        return EditorOutcome::Ignored;  // auto-repeat of a held key
    lastVk_ = vk;
    lastReleased_ = released;
    if (eventRecorded_ && recordDelays_) {
        const std::uint32_t elapsed = nowMs - lastTick_;
        const auto delay = static_cast<std::uint16_t>(
            std::min<std::uint32_t>(elapsed, static_cast<std::uint32_t>(kMaxMacroDelayMs)));
        const int before = insertion_ < 0 ? count_ - 1 : insertion_ - 1;
        if (before >= 0 && before < count_)
            events_[static_cast<std::size_t>(before)].delayMs = delay;
    }
    Insert({keyCode, released ? kRelease : kPress, 0});
    lastTick_ = nowMs;
    eventRecorded_ = true;
    EditorOutcome outcome = EditorOutcome::Done;
    if (count_ >= settings::kMaxMacroEvents) {
        StopRecording();
        outcome = EditorOutcome::Stopped;
    }
    Rebuild();
    return outcome;
}

bool MacroEditor::EventItemValid(int item) const {
    return item >= 0 && item < static_cast<int>(items_.size()) &&
           items_[static_cast<std::size_t>(item)].eventIndex < count_;
}

EditorOutcome MacroEditor::Command(int command, int item) {
    if (recording_)
        return EditorOutcome::Ignored;
    if (selectedMacro_ < 0)
        return EditorOutcome::NeedsMacro;
    const bool valid = EventItemValid(item);
    const EventItem picked = valid ? items_[static_cast<std::size_t>(item)] : EventItem{-1, {}};
    const bool isDelay = valid && picked.kind == EventItemKind::Delay;

    if (command == macro_command::kRecordBefore || command == macro_command::kRecordAfter) {
        insertion_ = !valid                                    ? -1
                     : command == macro_command::kRecordBefore ? picked.eventIndex
                                                               : picked.eventIndex + 1;
        StartRecording();
        return EditorOutcome::Started;
    }
    if (command == macro_command::kInsertDelay) {
        if (!valid || isDelay || picked.eventIndex == 0)
            return EditorOutcome::Ignored;
        settings::MacroEvent& before = events_[static_cast<std::size_t>(picked.eventIndex - 1)];
        if (before.delayMs != 0)
            return EditorOutcome::Ignored;
        before.delayMs = 1;
        selectedEvent_ = picked.eventIndex - 1;
        Rebuild();
        WriteBack();
        return EditorOutcome::Done;
    }
    if (command == macro_command::kEditDelay)
        return isDelay ? EditorOutcome::Done : EditorOutcome::Ignored;  // the view opens the edit
    if (command == macro_command::kDelete) {
        if (!valid)
            return EditorOutcome::Ignored;
        if (isDelay) {
            events_[static_cast<std::size_t>(picked.eventIndex)].delayMs = 0;
        } else {
            // Later events move up; the slot after the new last one stays as it was.
            for (int i = picked.eventIndex; i + 1 < count_; ++i)
                events_[static_cast<std::size_t>(i)] = events_[static_cast<std::size_t>(i + 1)];
            --count_;
            selectedEvent_ = std::min(picked.eventIndex, count_ - 1);
        }
        WriteBack();
        Rebuild();
        return EditorOutcome::Done;
    }
    if (command >= macro_command::kFirstMouseInsert && command <= macro_command::kLastMouseInsert) {
        const int offset = command - macro_command::kFirstMouseInsert;
        const auto code = static_cast<std::uint8_t>(kFirstMouseCode + offset / 3);
        const int kind = offset % 3;
        insertion_ = valid ? picked.eventIndex : -1;
        bool changed = false;
        if (kind == 0) {
            changed = Insert({code, kPress, 0});
        } else if (kind == 1) {
            changed = Insert({code, kRelease, 0});
        } else if (count_ + 2 <= settings::kMaxMacroEvents) {
            changed = Insert({code, kPress, 0}) && Insert({code, kRelease, 0});
        }
        if (!changed)
            return EditorOutcome::Ignored;
        Rebuild();
        WriteBack();
        return EditorOutcome::Done;
    }
    return EditorOutcome::Ignored;
}

EditorOutcome MacroEditor::CommitDelayEdit(int item, const std::string& text) {
    if (recording_ || selectedMacro_ < 0 || !EventItemValid(item) ||
        items_[static_cast<std::size_t>(item)].kind != EventItemKind::Delay)
        return EditorOutcome::Ignored;
    // An empty or non-numeric text keeps the line and stores 1.
    const long long value = std::clamp<long long>(ParseLeadingNumber(text), 1, kMaxMacroDelayMs);
    const int event = items_[static_cast<std::size_t>(item)].eventIndex;
    events_[static_cast<std::size_t>(event)].delayMs = static_cast<std::uint16_t>(value);
    selectedEvent_ = event;
    WriteBack();
    Rebuild();
    return EditorOutcome::Done;
}

bool MacroEditor::NewMacro(const std::string& typed) {
    if (recording_)
        return false;
    std::string name = TrimBlanks(typed);
    if (name.size() > kMaxTypedMacroName)
        name = TrimBlanks(name.substr(0, kMaxTypedMacroName));
    if (name.empty())
        return false;
    for (const std::string& other : MacroNames()) {
        if (SameNameIgnoringCase(TrimBlanks(other), name)) {
            SelectMacro(std::min(selectedMacro_, store_.Count() - 1));
            return false;
        }
    }
    store_.AddNamed(name);
    SelectMacro(store_.Count() - 1);
    return true;
}

EditorOutcome MacroEditor::DeleteMacro() {
    if (recording_ || !store_.RemoveAt(selectedMacro_))
        return EditorOutcome::Ignored;
    SelectMacro(std::min(selectedMacro_, store_.Count() - 1));
    return EditorOutcome::Done;
}

EditorOutcome MacroEditor::SetRepeatCheck(bool on) {
    MacroRecord* r = store_.MacroAt(selectedMacro_);
    if (r == nullptr)
        return EditorOutcome::NeedsMacro;
    repeatChecked_ = on;
    r->repeatValue = on ? repeatCount_ : 0;
    return EditorOutcome::Done;
}

int MacroEditor::CommitRepeatText(const std::string& text) {
    repeatCount_ =
        static_cast<int>(std::clamp<long long>(ParseLeadingNumber(text), 1, kMaxRepeatCount));
    MacroRecord* r = store_.MacroAt(selectedMacro_);
    if (r != nullptr && repeatChecked_)
        r->repeatValue = repeatCount_;
    return repeatCount_;
}

}  // namespace option
