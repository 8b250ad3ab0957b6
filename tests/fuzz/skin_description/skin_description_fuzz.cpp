// A skin description file as a user may install it: the loader reads the
// SCREEN picture names and one BUTTONPOS value per control through the
// profile-string reader (our engine behaves as the system's does), and the
// controls turn each placement into sizes, thumb positions and fill widths;
// the [CAPTION] and [TEXT] rows name the words drawn over the pictures.
#include <cstdint>
#include <string>

#include "common/settings/ini_engine.h"
#include "common/settings/settings_block.h"
#include "option/skin/button_pos.h"
#include "option/skin/control_math.h"
#include "option/skin/skin_words.h"
#include "option/skin/word_fit.h"
#include "tests/fuzz/support/fuzz_check.h"

namespace {

// More keys than any window of Option has.
constexpr int kKeysTried = 40;

void UsePlacement(const skin::ButtonPos& pos) {
    FUZZ_CHECK(settings::FieldLength(pos.name) < sizeof pos.name);
    FUZZ_CHECK(settings::FieldLength(pos.caption) < sizeof pos.caption);
    const skin::PosRect& r = pos.rect;
    const int width = skin::Width(r);
    const int height = skin::Height(r);
    // A slider laid over the placement, its thumb as wide as the placement is high.
    const auto value = static_cast<std::uint32_t>(r.top);
    const auto maximum = static_cast<std::uint32_t>(r.bottom);
    const int thumb = skin::ThumbX(value, 0, maximum, r.left, r.right, height);
    (void)skin::ThumbDragValue(thumb, 0, maximum, r.left, r.right, height);
    (void)skin::ThumbReleaseValue(thumb, 0, maximum, r.left, r.right, height);
    (void)skin::ClampThumbLeft(r.bottom, r.left, r.right, height);
    (void)skin::TrackClickValue(r.top, r.left, r.right, 0, r.bottom);
    // A fill bar of the placement's width, and a spin box showing the caption.
    (void)skin::FillWidth(r.top, r.left, r.right, width);
    (void)skin::FillValue(r.bottom, r.left, r.right, r.top, r.bottom);
    (void)skin::ReadDecimal(pos.caption);
}

// The words of a row, fitted by a measure that counts bytes.
class ByteWidths final : public skin::TextMeasure {
  public:
    int Width(std::string_view utf8, int size) const override {
        return static_cast<int>(utf8.size()) * size;
    }
};

void UseWords(const settings::IniDocument& doc, const std::string& text) {
    for (int k = 1; k <= kKeysTried; ++k) {
        skin::CaptionRow caption;
        if (skin::ParseCaptionRow(
                doc.GetString("CAPTION", std::to_string(k).c_str(), "", settings::kIniStringBuffer),
                caption) == 1) {
            FUZZ_CHECK(caption.size >= 1 && caption.size <= 400);
        }
    }
    const ByteWidths widths;
    for (const skin::TextRow& row : skin::ReadTextRows([&](const char* key) {
             return doc.GetString("TEXT", key, "", settings::kIniStringBuffer);
         })) {
        FUZZ_CHECK(row.width > 0 && row.textId != 0);
        // The file's bytes stand in for the word the row names.
        const std::string_view word(text.data(), text.size() < 64 ? text.size() : 64);
        const skin::FittedWord fitted = skin::FitWord(widths, word, row.width, row.size, 100);
        FUZZ_CHECK(!fitted.cut || widths.Width(fitted.shown, fitted.size) <= row.width ||
                   fitted.shown == skin::kEllipsis);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const settings::IniDocument doc = settings::IniDocument::Parse(text);
    for (const char* key : {"Mask", "Normal", "Over", "Down", "Disable"}) {
        const std::string name = doc.GetString("SCREEN", key, "", settings::kIniStringBuffer);
        FUZZ_CHECK(name.size() < settings::kIniStringBuffer);
    }
    for (int k = 1; k <= kKeysTried; ++k) {
        const std::string value =
            doc.GetString("BUTTONPOS", std::to_string(k).c_str(), "", settings::kIniStringBuffer);
        skin::ButtonPos pos;
        FUZZ_CHECK(skin::ParseButtonPos(value, pos) == 1);
        UsePlacement(pos);
    }
    UseWords(doc, text);
    // The parser on the raw bytes too: values the engine would never hand it.
    skin::ButtonPos raw;
    skin::ParseButtonPos(text, raw);
    skin::TextRow rawText;
    skin::ParseTextRow(text, rawText);
    UsePlacement(raw);
    return 0;
}
