#include "option/skin/window_words_win.h"

#include <utility>

#include "option/skin/skin_messages.h"

namespace skin {
namespace {

// The face the windows' words were drawn in when the art carried them.
constexpr const char* kDefaultFace = "Arial";
// Room left on each side of a control's word, in 100 % pixels.
constexpr int kCaptionPadding = 4;

}  // namespace

void ControlCaption::Draw(HDC dc, const RECT& client, ButtonImage state) const {
    if (fonts == nullptr || word.shown.empty())
        return;
    DrawWord(dc, *fonts, word, WordBox(client), colours[static_cast<std::size_t>(state) & 3]);
}

RECT ControlCaption::WordBox(const RECT& client) const {
    return {client.left + leftInset + margin, client.top, client.right - margin, client.bottom};
}

DrawnWord ControlCaption::Measure(HDC dc, const RECT& client) const {
    if (fonts == nullptr)
        return {};
    RECT belongs = client;
    belongs.left += leftInset;
    return MeasureWord(dc, *fonts, word, WordBox(client), belongs);
}

void WindowWords::Begin(const Reader& read, int scalePercent) {
    fonts_ = std::make_shared<SkinFonts>();
    if (!measuring_)
        measuring_.Reset(CreateCompatibleDC(nullptr));
    scalePercent_ = scalePercent;
    face_ = read("SCREEN", "Font");
    if (face_.empty())
        face_ = kDefaultFace;
    captions_.clear();
    texts_.clear();
    for (const TextRow& row : ReadTextRows([&](const char* key) { return read("TEXT", key); })) {
        const std::string word = SkinWord(row.textId);
        if (word.empty())
            continue;
        texts_.push_back({RECT{row.x, row.y, row.x + row.width, row.y + row.height},
                          LayWord(measuring_.Get(), *fonts_, face_, word, row.style, row.size,
                                  SIZE{row.width, row.height}, scalePercent_),
                          row.colour, row.textId});
    }
}

void WindowWords::AddCaption(std::size_t index, const char* key, const ButtonPos& pos,
                             const Reader& read) {
    if (captions_.size() <= index)
        captions_.resize(index + 1);
    CaptionRow row;
    if (ParseCaptionRow(read("CAPTION", key), row) == 0)
        return;
    ControlCaption caption;
    caption.colours = row.colours;
    caption.leftInset = row.leftInset;
    caption.margin = MulDiv(kCaptionPadding, scalePercent_, 100);
    caption.fonts = fonts_;
    if (row.textId != 0) {
        const std::string word = SkinWord(row.textId);
        const int room = Width(pos.rect) - row.leftInset - 2 * caption.margin;
        caption.word = LayWord(measuring_.Get(), *fonts_, face_, word, row.style, row.size,
                               SIZE{room > 0 ? room : 0, Height(pos.rect)}, scalePercent_);
        if (caption.word.cut)
            caption.hint = word;
    }
    if (caption.hint.empty() && row.hintId != 0)
        caption.hint = SkinWord(row.hintId);
    captions_[index] = std::move(caption);
}

void WindowWords::HandOut(HWND window, const SkinKeys& keys) const {
    for (std::size_t i = 0; i < keys.Texts().size() && i < captions_.size(); ++i) {
        if (!captions_[i])
            continue;
        if (HWND control = GetDlgItem(window, keys.Row(i).id)) {
            SendMessageW(control, kMsgTakeCaption, 0,
                         reinterpret_cast<LPARAM>(&captions_[i].value()));
        }
    }
}

std::string WindowWords::NameOf(std::size_t index) const {
    return index < captions_.size() && captions_[index] ? captions_[index]->hint : std::string();
}

void WindowWords::Paint(HDC dc) const {
    for (const PlacedText& text : texts_) DrawWord(dc, *fonts_, text.word, text.box, text.colour);
}

std::vector<DrawnWord> WindowWords::MeasureTexts(HDC dc) const {
    std::vector<DrawnWord> drawn;
    for (const PlacedText& text : texts_) {
        drawn.push_back(MeasureWord(dc, *fonts_, text.word, text.box, text.box));
        drawn.back().name = "[TEXT] id " + std::to_string(text.textId);
    }
    return drawn;
}

}  // namespace skin
