// The one description of a skinned window's controls: a table with a row per
// control, in the order the window makes them. The window makes each control
// from its row and the placement its skin key reads; the Tab walk, the arrow
// groups and the lookups by id or key are all derived from the same rows, so
// a control is named once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skin {

// What a row makes, which decides how the window builds it.
enum class ControlKind : std::uint8_t {
    Button,          // a four-image push button
    LatchingButton,  // a four-image button that keeps a pressed look
    PageTab,         // a latching button that selects a page
    ShapedSelector,  // a button of any outline (CRgnButton)
    Swatch,          // a button showing a colour
    Slider,          // a slider track with its thumb
    Label,           // text on a plate
    Hint,            // a strip showing the hint of the control under the pointer
    Field,           // an edit field
    SpinBox,         // an edit field between up and down buttons
    List,            // a list box
    Spectrum,        // a colour spectrum to pick from
    Area,            // a rectangle the window paints or places something in; no window
    ShownPage,       // the main window's walk: where the shown page's walk comes in
};

// The buttons a window keeps as CSkinButton (push, latching and page tabs).
constexpr bool IsSkinButton(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::LatchingButton ||
           kind == ControlKind::PageTab;
}

// Anything that reports a click with WM_COMMAND.
constexpr bool IsClickable(ControlKind kind) {
    return IsSkinButton(kind) || kind == ControlKind::ShapedSelector || kind == ControlKind::Swatch;
}

inline constexpr int kNoSkinKey = 0;  // a row the skin does not place
inline constexpr int kNoTab = 0;      // a control Tab passes by

struct ControlRow {
    int id;   // the control's window id
    int key;  // its BUTTONPOS key in the skin description file, or kNoSkinKey
    ControlKind kind;
    int tab = kNoTab;  // its place in the Tab walk, counted from 1
    int group = 0;     // its arrow group, numbered within the window; 0 for none
    int columns = 1;   // how many of its group make a row for the arrow keys
    // The string id of its hover hint and accessible name, before the one
    // the skin's [CAPTION] row names; 0: the skin's.
    int nameId = 0;
};

// The row of id `id` / of skin key `key`; null when the table has none.
constexpr const ControlRow* RowOfId(std::span<const ControlRow> table, int id) {
    for (const ControlRow& row : table) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}
constexpr const ControlRow* RowOfKey(std::span<const ControlRow> table, int key) {
    for (const ControlRow& row : table) {
        if (row.key == key && key != kNoSkinKey)
            return &row;
    }
    return nullptr;
}

// How many rows `counts` takes, and where the row of `key` stands among them:
// a window keeps one object per counted row, in table order.
constexpr std::size_t CountRows(std::span<const ControlRow> table, bool (*counts)(ControlKind)) {
    std::size_t n = 0;
    for (const ControlRow& row : table) {
        if (counts(row.kind))
            ++n;
    }
    return n;
}
constexpr std::size_t SlotOfKey(std::span<const ControlRow> table, int key,
                                bool (*counts)(ControlKind)) {
    std::size_t n = 0;
    for (const ControlRow& row : table) {
        if (row.key == key)
            return n;
        if (counts(row.kind))
            ++n;
    }
    return n;
}

// The lowest and highest id of the rows that report clicks: the range of the
// window's click row.
struct IdRange {
    int first;
    int last;
};
constexpr IdRange ClickIds(std::span<const ControlRow> table) {
    IdRange range{0, 0};
    bool any = false;
    for (const ControlRow& row : table) {
        if (!IsClickable(row.kind))
            continue;
        range.first = any && range.first < row.id ? range.first : row.id;
        range.last = any && range.last > row.id ? range.last : row.id;
        any = true;
    }
    return range;
}

// The skin keys of the rows the skin places, as the description file spells
// them, in table order; `Rows()` are those rows in the same order.
class SkinKeys {
  public:
    explicit SkinKeys(std::span<const ControlRow> table);
    std::span<const char* const> Texts() const { return pointers_; }
    const ControlRow& Row(std::size_t index) const { return *rows_[index]; }

  private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
    std::vector<const ControlRow*> rows_;
};

// The Tab walk of a table, as the keyboard takes it: the ids of the rows with
// a tab place in that order, each run of one arrow group between
// GroupStart(columns) and kGroupEnd (control_math.h).
std::vector<int> TabWalk(std::span<const ControlRow> table);

// What is wrong with a table, if anything.
enum class TableFault {
    None,
    RepeatedId,
    RepeatedKey,
    TabPlacesNotAPermutation,  // the tab places are not 1..n, each once
    GroupSplit,                // a group's controls are not neighbours in the walk
};
TableFault CheckControlTable(std::span<const ControlRow> table);

}  // namespace skin
