#include "option/skin/word_fit.h"

#include <array>
#include <vector>

namespace skin {
namespace {

constexpr int kFloorPercent = 70;
constexpr int kFloorPixelsAt100 = 9;

constexpr std::array<std::string_view, 11> kFallbackFaces = {
    "Microsoft YaHei",     "Microsoft JhengHei",  "Meiryo",
    "Yu Gothic",           "Malgun Gothic",       "Segoe UI",
    "Arial Unicode MS",    "WenQuanYi Micro Hei", "Noto Sans CJK SC",
    "Droid Sans Fallback", "DejaVu Sans",
};

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string CutWithEllipsis(std::string_view word, std::size_t length) {
    std::string_view kept = word.substr(0, length);
    while (!kept.empty() && (kept.back() == ' ' || kept.back() == '\t')) kept.remove_suffix(1);
    std::string out(kept);
    out += kEllipsis;
    return out;
}

}  // namespace

int FloorSize(int size, int scalePercent) {
    const int byShare = (size * kFloorPercent + 50) / 100;
    const int byPixels = (kFloorPixelsAt100 * scalePercent + 99) / 100;
    const int floor = byShare > byPixels ? byShare : byPixels;
    return floor < size ? floor : size;
}

FittedWord FitWord(const TextMeasure& measure, std::string_view word, int boxWidth, int size,
                   int scalePercent) {
    const int floor = FloorSize(size, scalePercent);
    for (int s = size; s >= floor; --s) {
        if (measure.Width(word, s) <= boxWidth)
            return {std::string(word), s, false};
    }
    // The longest cut that fits, by halving over the character boundaries;
    // a longer cut is never narrower, so the search is sound. The cut after
    // no character at all (the bare ellipsis) is taken when nothing fits.
    std::vector<std::size_t> cuts;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (i == 0 || !IsContinuationByte(word[i]))
            cuts.push_back(i);
    }
    std::size_t fits = 0;
    std::size_t tooLong = cuts.size();
    while (tooLong - fits > 1) {
        const std::size_t middle = fits + (tooLong - fits) / 2;
        if (measure.Width(CutWithEllipsis(word, cuts[middle]), floor) <= boxWidth)
            fits = middle;
        else
            tooLong = middle;
    }
    return {CutWithEllipsis(word, cuts.empty() ? 0 : cuts[fits]), floor, true};
}

std::span<const std::string_view> FallbackFaces() {
    return kFallbackFaces;
}

std::string_view ChooseFace(const GlyphCoverage& coverage, std::string_view skinFace,
                            std::string_view word) {
    if (coverage.Covers(skinFace, word))
        return skinFace;
    for (const std::string_view face : kFallbackFaces) {
        if (coverage.Covers(face, word))
            return face;
    }
    return skinFace;
}

}  // namespace skin
