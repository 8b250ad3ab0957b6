// How a word goes into its box: the size it is drawn at, where it is cut, and
// the face that has its letters. Platform-free; the system's measuring and
// glyph tables come in through two small interfaces.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace skin {

// The width in pixels of a UTF-8 string drawn at a pixel height.
class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    virtual int Width(std::string_view utf8, int size) const = 0;
};

// Whether a face has a glyph for every character of a UTF-8 string.
class GlyphCoverage {
  public:
    virtual ~GlyphCoverage() = default;
    virtual bool Covers(std::string_view face, std::string_view utf8) const = 0;
};

// The smallest size a word shrinks to: about 70 % of its size, and no less
// than 9 pixels at 100 % (scaled by `scalePercent`), never above the size.
int FloorSize(int size, int scalePercent);

inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // U+2026

struct FittedWord {
    std::string shown;  // the whole word, or a cut one ending in kEllipsis
    int size = 0;
    bool cut = false;
};

// The largest size from `size` down to FloorSize that fits `boxWidth`; when
// none does, the word at the floor size cut after a whole character (never
// inside a UTF-8 sequence) with kEllipsis appended so that it fits. When not
// even the ellipsis fits, it is the ellipsis alone.
FittedWord FitWord(const TextMeasure& measure, std::string_view word, int boxWidth, int size,
                   int scalePercent);

// The faces tried, in order, for a word the skin's face lacks letters of:
// the Chinese, Japanese, Korean and Cyrillic capable faces of Windows, then
// the free fonts a Wine machine has (scripts/setup.sh installs them).
std::span<const std::string_view> FallbackFaces();

// The skin's face when it covers `word`, else the first fallback face that
// does, else the skin's face (the system then substitutes as it can).
std::string_view ChooseFace(const GlyphCoverage& coverage, std::string_view skinFace,
                            std::string_view word);

}  // namespace skin
