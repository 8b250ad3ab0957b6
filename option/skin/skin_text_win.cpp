#include "option/skin/skin_text_win.h"

#include <string_view>

#include "common/win/wide_text_win.h"
#include "option/skin/word_fit.h"

namespace skin {
namespace {

WordSource g_source;

std::wstring Utf16(std::string_view utf8) {
    return win::Widen(utf8, CP_UTF8);
}

std::string Utf8(const std::wstring& wide) {
    return win::Narrow(wide.c_str(), CP_UTF8);
}

bool IsSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Widths measured in `dc` with the fonts of one face and weight.
class DcMeasure final : public TextMeasure {
  public:
    DcMeasure(HDC dc, SkinFonts& fonts, std::wstring face, bool bold)
        : dc_(dc), fonts_(fonts), face_(std::move(face)), bold_(bold) {}

    int Width(std::string_view utf8, int size) const override {
        const std::wstring wide = Utf16(utf8);
        const win::ScopedSelect use(dc_, fonts_.Get(face_, size, bold_));
        SIZE extent{};
        if (!GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent))
            return 0;
        return extent.cx;
    }

  private:
    HDC dc_;
    SkinFonts& fonts_;
    std::wstring face_;
    bool bold_;
};

// Glyph tables read in `dc`. A fallback face counts only when the system has
// it under that name: a missing face is stood in for by another, which may
// lack the very letters the fallback is tried for. The skin's own face is
// taken as the system substitutes it.
class DcCoverage final : public GlyphCoverage {
  public:
    DcCoverage(HDC dc, SkinFonts& fonts, std::string_view skinFace, bool bold)
        : dc_(dc), fonts_(fonts), skinFace_(skinFace), bold_(bold) {}

    bool Covers(std::string_view face, std::string_view utf8) const override {
        const std::wstring wideFace = Utf16(face);
        const win::ScopedSelect use(dc_, fonts_.Get(wideFace, kProbeSize, bold_));
        if (face != skinFace_) {
            wchar_t realised[LF_FACESIZE] = {};
            GetTextFaceW(dc_, LF_FACESIZE, realised);
            if (lstrcmpiW(realised, wideFace.c_str()) != 0)
                return false;
        }
        std::wstring wide = Utf16(utf8);
        // The glyph table answers for single UTF-16 units only: characters
        // beyond them are left to the system's font linking.
        std::erase_if(wide, [](wchar_t c) { return IsSurrogate(c) || c < L' '; });
        if (wide.empty())
            return true;
        std::vector<WORD> glyphs(wide.size());
        if (GetGlyphIndicesW(dc_, wide.c_str(), static_cast<int>(wide.size()), glyphs.data(),
                             GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
            return false;
        for (const WORD glyph : glyphs) {
            if (glyph == 0xFFFF)
                return false;
        }
        return true;
    }

  private:
    static constexpr int kProbeSize = 16;
    HDC dc_;
    SkinFonts& fonts_;
    std::string_view skinFace_;
    bool bold_;
};

UINT AlignFlags(WordAlign align) {
    switch (align) {
        case WordAlign::Centre:
            return DT_CENTER;
        case WordAlign::Right:
            return DT_RIGHT;
        case WordAlign::Left:
            break;
    }
    return DT_LEFT;
}

// How DrawTextW lays a word out: a note wrapped from the box's top (and
// clipped to it), any other word on one line centred vertically, unclipped.
UINT LayoutFlags(const WordStyle& style) {
    const UINT layout = style.wraps ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER | DT_NOCLIP;
    return layout | DT_NOPREFIX | AlignFlags(style.align);
}

PosRect ToPosRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Whether `text` wrapped to the box's width in `font` stays inside the box:
// its lines above the box's bottom, and none wider than the box (a word
// longer than a line is not broken but clipped at the box's edge).
bool WrapsInto(HDC dc, HFONT font, const std::wstring& text, SIZE box) {
    const win::ScopedSelect use(dc, font);
    RECT r{0, 0, box.cx, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return r.bottom - r.top <= box.cy && r.right - r.left <= box.cx;
}

// The longest beginning of `text` that, ended with an ellipsis, wraps into
// `box`; cut between characters (never between the halves of a surrogate
// pair) and without the spaces before the ellipsis.
std::wstring WrappedCut(HDC dc, HFONT font, const std::wstring& text, SIZE box) {
    const auto cutAt = [&text](std::size_t n) {
        while (n > 0 && n < text.size() && IS_LOW_SURROGATE(text[n])) --n;
        std::wstring shown = text.substr(0, n);
        while (!shown.empty() && shown.back() == L' ') shown.pop_back();
        return shown + L"\u2026";
    };
    std::size_t fits = 0;  // an ellipsis alone is the least a cut shows
    std::size_t tooLong = text.size();
    while (tooLong - fits > 1) {
        const std::size_t middle = fits + (tooLong - fits) / 2;
        if (WrapsInto(dc, font, cutAt(middle), box))
            fits = middle;
        else
            tooLong = middle;
    }
    return cutAt(fits);
}

}  // namespace

void SetWordSource(WordSource source) {
    g_source = source;
}

std::string SkinWord(unsigned id) {
    return g_source.text != nullptr ? g_source.text(id) : std::string();
}

HFONT SkinFonts::Get(const std::wstring& face, int size, bool bold) {
    for (const Made& made : made_) {
        if (made.size == size && made.bold == bold && made.face == face)
            return made.font.Get();
    }
    LOGFONTW font{};
    font.lfHeight = -size;  // the letters' height, not the cell's
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    made_.push_back({face, size, bold, win::ScopedGdi<HFONT>(CreateFontIndirectW(&font))});
    return made_.back().font.Get();
}

std::string UpperCased(const std::string& utf8, const std::string& locale) {
    const std::wstring wide = Utf16(utf8);
    if (wide.empty())
        return utf8;
    const std::wstring localeName = Utf16(locale);
    const wchar_t* name = locale.empty() ? LOCALE_NAME_USER_DEFAULT : localeName.c_str();
    const DWORD flags = LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING;
    const int n = LCMapStringEx(name, flags, wide.c_str(), static_cast<int>(wide.size()), nullptr,
                                0, nullptr, nullptr, 0);
    if (n <= 0)
        return utf8;
    std::wstring upper(static_cast<std::size_t>(n), L'\0');
    LCMapStringEx(name, flags, wide.c_str(), static_cast<int>(wide.size()), upper.data(), n,
                  nullptr, nullptr, 0);
    return Utf8(upper);
}

LaidWord LayWord(HDC dc, SkinFonts& fonts, const std::string& skinFace, const std::string& word,
                 const WordStyle& style, int size, SIZE box, int scalePercent) {
    LaidWord laid;
    laid.style = style;
    laid.whole =
        style.upper ? UpperCased(word, g_source.locale != nullptr ? g_source.locale() : "") : word;
    const std::string face(
        ChooseFace(DcCoverage(dc, fonts, skinFace, style.bold), skinFace, laid.whole));
    laid.face = Utf16(face);
    if (style.wraps) {
        laid.shown = Utf16(laid.whole);
        const int floor = FloorSize(size, scalePercent);
        for (int s = size; s >= floor; --s) {
            if (WrapsInto(dc, fonts.Get(laid.face, s, style.bold), laid.shown, box)) {
                laid.size = s;
                return laid;
            }
        }
        // Not even the floor size holds the note: it ends in an ellipsis
        // rather than losing its last lines below the box or the end of a
        // long word past its edge.
        laid.size = floor;
        laid.shown = WrappedCut(dc, fonts.Get(laid.face, floor, style.bold), laid.shown, box);
        laid.cut = true;
        return laid;
    }
    const int width = box.cx;
    const FittedWord fitted =
        FitWord(DcMeasure(dc, fonts, laid.face, style.bold), laid.whole, width, size, scalePercent);
    laid.shown = Utf16(fitted.shown);
    laid.size = fitted.size;
    laid.cut = fitted.cut;
    return laid;
}

void DrawWord(HDC dc, SkinFonts& fonts, const LaidWord& word, const RECT& box, WordColour colour) {
    if (word.shown.empty())
        return;
    const win::ScopedSelect use(dc, fonts.Get(word.face, word.size, word.style.bold));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour =
        SetTextColor(dc, RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    RECT r = box;
    DrawTextW(dc, word.shown.c_str(), static_cast<int>(word.shown.size()), &r,
              LayoutFlags(word.style));
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

DrawnWord MeasureWord(HDC dc, SkinFonts& fonts, const LaidWord& word, const RECT& box,
                      const RECT& belongs) {
    DrawnWord drawn;
    drawn.whole = word.whole;
    drawn.shown = Utf8(word.shown);
    drawn.box = ToPosRect(belongs);
    if (word.shown.empty())
        return drawn;
    // The extent DrawTextW reports for the very layout it draws with (the
    // lines of a note as wide as the box, however far down they reach), then
    // placed in the box as it places it.
    const win::ScopedSelect use(dc, fonts.Get(word.face, word.size, word.style.bold));
    RECT extent = box;
    DrawTextW(dc, word.shown.c_str(), static_cast<int>(word.shown.size()), &extent,
              LayoutFlags(word.style) | DT_CALCRECT);
    const int width = extent.right - extent.left;
    const int height = extent.bottom - extent.top;
    int left = box.left;
    if (word.style.align == WordAlign::Centre)
        left = box.left + (box.right - box.left - width) / 2;
    else if (word.style.align == WordAlign::Right)
        left = box.right - width;
    const int top = word.style.wraps ? box.top : box.top + (box.bottom - box.top - height) / 2;
    drawn.drawn = {left, top, left + width, top + height};
    return drawn;
}

}  // namespace skin
