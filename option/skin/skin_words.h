// The words a skin places on its windows without drawing them into its
// pictures: one [CAPTION] row per control that shows a word, and numbered
// [TEXT] rows for the static words a window draws on its background. The
// rows carry string ids of the language module, never the words themselves,
// and are already scaled for their skin set.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace skin {

enum class WordAlign : std::uint8_t { Left, Centre, Right };

// The style letters of a row: b bold, l/c/r placement in the box, u upper
// case by the language's rules, s the old art's small letter spacing, w a
// note of several lines wrapped to the box's width from its top.
struct WordStyle {
    bool bold = false;
    bool upper = false;
    bool spaced = false;
    bool wraps = false;
    WordAlign align = WordAlign::Left;
};
// Unknown letters are passed by, so that a newer skin still reads.
WordStyle ParseWordStyle(std::string_view letters);

// A colour as the file writes it, 0xRRGGBB.
using WordColour = std::uint32_t;

// "text id, hint id, size, style, normal, over, down, disabled[, left inset]"
struct CaptionRow {
    unsigned textId = 0;  // 0: no word on the control
    unsigned hintId = 0;  // 0: the placement's own caption stays the hint
    int size = 0;         // the font's pixel height at the set's scale
    WordStyle style;
    std::array<WordColour, 4> colours{};  // in the order of ButtonImage
    // Pixels at the control's left kept free of the word (a check box, a
    // light or an icon sits there); the word is placed in the rest.
    int leftInset = 0;
};

// "x, y, w, h, text id, size, style, colour"
struct TextRow {
    int x = 0, y = 0, width = 0, height = 0;  // the box, in client pixels
    unsigned textId = 0;
    int size = 0;
    WordStyle style;
    WordColour colour = 0;
};

// Each returns 1 and fills `row` when `value` is a whole, sensible row, and 0
// otherwise (leaving `row` as it was): a wrong field count, a number that
// does not parse or is out of its range (ids 0-65535, sizes 1-400, colours
// up to 0xFFFFFF, boxes and insets within +-32767, insets not negative), or
// a [TEXT] row without a word.
int ParseCaptionRow(std::string_view value, CaptionRow& row);
int ParseTextRow(std::string_view value, TextRow& row);

// The [TEXT] rows of a file, read through `read` (the value of a key, "" when
// absent) from key 1 upwards; the reading stops after kTextRowGap absent keys
// in a row, so that a number left out does not hide the rows after it. Bad
// rows are passed by; keys above kMaxTextRows are not read.
inline constexpr int kTextRowGap = 16;
inline constexpr int kMaxTextRows = 999;
std::vector<TextRow> ReadTextRows(const std::function<std::string(const char* key)>& read);

}  // namespace skin
