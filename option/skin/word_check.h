// Whether the words of one window, as they were drawn, are whole and in their
// places: each inside its box, cut only with its ellipsis, and clear of the
// other words of the window. Platform-free; the drawing code measures.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "option/skin/button_pos.h"

namespace skin {

// One word as drawn: a [TEXT] row's static words or a control's caption.
struct DrawnWord {
    std::string name;   // how a finding names it: "[TEXT] 3", "[CAPTION] 12"
    std::string whole;  // the word before it was fitted, UTF-8
    std::string shown;  // what was drawn, UTF-8
    PosRect box{};      // where it belongs: the row's box, the control less its inset
    PosRect drawn{};    // where its letters went (a note: all its lines)
};

// Whether a cut word (one ending in its ellipsis) is itself a finding: a real
// language's words must fit whole, on a button as in a note; the
// pseudo-language, longer than any, may end in its ellipsis.
enum class CutWords { Allowed, Faulty };

// One line per fault, empty when the words are sound: a word drawn out of
// its box, a word shown shorter than it is without ending in the ellipsis,
// two words of the window whose letters overlap, and with
// CutWords::Faulty a word cut at all.
std::vector<std::string> WordFindings(std::span<const DrawnWord> words, CutWords cutWords);

}  // namespace skin
