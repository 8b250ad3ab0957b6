#include "option/skin/word_check.h"

#include <initializer_list>
#include <string_view>

#include "option/skin/word_fit.h"

namespace skin {
namespace {

bool IsEmpty(const PosRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

bool Inside(const PosRect& inner, const PosRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const PosRect& a, const PosRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The finding's line, built by appending (GCC 12 misjudges long chains of
// operator+ on strings as overlapping copies).
std::string Line(std::initializer_list<std::string_view> parts) {
    std::string line;
    for (const std::string_view part : parts) line += part;
    return line;
}

std::string Describe(const PosRect& r) {
    return Line({"(", std::to_string(r.left), ",", std::to_string(r.top), ")-(",
                 std::to_string(r.right), ",", std::to_string(r.bottom), ")"});
}

std::string Named(const DrawnWord& word) {
    return Line({word.name, " \"", word.shown, "\""});
}

}  // namespace

std::vector<std::string> WordFindings(std::span<const DrawnWord> words, CutWords cutWords) {
    std::vector<std::string> findings;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const DrawnWord& word = words[i];
        if (word.shown.empty() || IsEmpty(word.drawn))
            continue;
        if (!Inside(word.drawn, word.box)) {
            findings.push_back(Line({Named(word), " drawn at ", Describe(word.drawn),
                                     " leaves its box ", Describe(word.box)}));
        }
        const bool cut = word.shown != word.whole;
        if (cut && !std::string_view(word.shown).ends_with(kEllipsis))
            findings.push_back(
                Line({Named(word), " is cut from \"", word.whole, "\" without its ellipsis"}));
        else if (cut && cutWords == CutWords::Faulty)
            findings.push_back(Line(
                {Named(word), " is cut from \"", word.whole, "\" (a real language must fit)"}));
        for (std::size_t j = i + 1; j < words.size(); ++j) {
            const DrawnWord& other = words[j];
            if (!other.shown.empty() && Overlap(word.drawn, other.drawn)) {
                findings.push_back(Line({Named(word), " at ", Describe(word.drawn), " overlaps ",
                                         Named(other), " at ", Describe(other.drawn)}));
            }
        }
    }
    return findings;
}

}  // namespace skin
