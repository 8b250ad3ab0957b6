// The system's side of the skin words: fonts made per face, size and weight,
// the word fitted to its box with the system's measurements and glyph
// tables, upper case by the language's rules, and the drawing.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/win/scoped_win.h"
#include "option/skin/skin_words.h"
#include "option/skin/word_check.h"

namespace skin {

// Where the words come from, set once by the program: the strings of the
// language module (UTF-8, "" for a missing id) and the locale name whose
// rules upper-case them ("" for the user's own).
struct WordSource {
    std::string (*text)(unsigned id) = nullptr;
    const std::string& (*locale)() = nullptr;
};
void SetWordSource(WordSource source);
std::string SkinWord(unsigned id);

// The fonts one skinned window draws its words with, made on first use and
// kept for the window's life (its controls share them).
class SkinFonts {
  public:
    SkinFonts() = default;
    SkinFonts(const SkinFonts&) = delete;
    SkinFonts& operator=(const SkinFonts&) = delete;

    // `size` is the pixel height of the letters (the em), as the skin gives it.
    HFONT Get(const std::wstring& face, int size, bool bold);

  private:
    struct Made {
        std::wstring face;
        int size;
        bool bold;
        win::ScopedGdi<HFONT> font;
    };
    std::vector<Made> made_;
};

// A word laid out for its box.
struct LaidWord {
    std::wstring shown;  // what is drawn: the word, or its cut with an ellipsis
    std::wstring face;
    int size = 0;
    WordStyle style;
    bool cut = false;
    std::string whole;  // the whole word, UTF-8, after upper-casing
};

// Lays `word` (UTF-8) out for a box of `box` pixels: upper-cased when the
// style says so, in `skinFace` or a fallback face that has its letters, at the
// largest size that fits, else cut. A note that wraps fits the box's height
// in lines as wide as the box; at the floor size it is cut with an ellipsis
// after as much as still fits. `scalePercent` is the skin set's scale.
// `dc` is any DC to measure in (a memory DC made once for many words).
LaidWord LayWord(HDC dc, SkinFonts& fonts, const std::string& skinFace, const std::string& word,
                 const WordStyle& style, int size, SIZE box, int scalePercent);

// Draws a laid word in `box` (placed as its style says, centred vertically;
// a note from the top) in `colour` (0xRRGGBB) over what `dc` holds.
void DrawWord(HDC dc, SkinFonts& fonts, const LaidWord& word, const RECT& box, WordColour colour);

// Where DrawWord puts the letters of `word` drawn in `box`, measured the way
// it draws them, as the check of a window's words takes it: `belongs` is the
// box they must stay in (DrawWord's box with the margins a control keeps).
DrawnWord MeasureWord(HDC dc, SkinFonts& fonts, const LaidWord& word, const RECT& box,
                      const RECT& belongs);

// `utf8` in upper case by the rules of `locale` ("" for the user's locale).
std::string UpperCased(const std::string& utf8, const std::string& locale);

}  // namespace skin
