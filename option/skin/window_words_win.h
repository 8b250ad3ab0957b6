// The words of one skinned window: the [TEXT] rows it draws on its
// background and the [CAPTION] words it hands to its controls, laid out once
// when the skin is put on (the rows are already scaled for the set).
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/win/scoped_win.h"
#include "option/skin/button_pos.h"
#include "option/skin/control_math.h"
#include "option/skin/control_table.h"
#include "option/skin/skin_text_win.h"
#include "option/skin/skin_words.h"

namespace skin {

// A control's word as its window laid it out (kMsgTakeCaption carries it).
struct ControlCaption {
    LaidWord word;  // empty when the row names no word
    std::array<WordColour, 4> colours{};
    int leftInset = 0;  // pixels at the left kept free of the word
    int margin = 0;     // pixels kept free at either side besides
    std::shared_ptr<SkinFonts> fonts;
    // The hover hint and accessible name: the whole word when it was cut,
    // else the row's hint string; "" keeps the control's own.
    std::string hint;

    // Draws the word in `client` (less the inset and a margin, placed as the
    // row's style says) in the colour of `state`.
    void Draw(HDC dc, const RECT& client, ButtonImage state) const;
    // The word as Draw puts it in `client`, for the check of the words; it
    // belongs in the client less the inset.
    DrawnWord Measure(HDC dc, const RECT& client) const;

  private:
    RECT WordBox(const RECT& client) const;
};

class WindowWords {
  public:
    // The value of a key of the window's description file, "" when absent.
    using Reader = std::function<std::string(const char* section, const char* key)>;

    // Forgets what an earlier skin laid out and reads the face and the
    // [TEXT] rows of the file `read` reads, for the set of `scalePercent`.
    void Begin(const Reader& read, int scalePercent);
    // Lays out the [CAPTION] row of the `index`th key, placed at `pos`.
    void AddCaption(std::size_t index, const char* key, const ButtonPos& pos, const Reader& read);
    // Sends the control of each row of `keys` (the keys given to AddCaption,
    // in order) its caption.
    void HandOut(HWND window, const SkinKeys& keys) const;
    // The hover hint and accessible name the [CAPTION] row of the `index`th
    // key gives its control; "" when it gives none.
    std::string NameOf(std::size_t index) const;

    bool HasTexts() const { return !texts_.empty(); }
    // Draws the [TEXT] rows into `dc` (the window's client at its origin).
    void Paint(HDC dc) const;
    // The [TEXT] words as Paint draws them, named by their string ids.
    std::vector<DrawnWord> MeasureTexts(HDC dc) const;

  private:
    struct PlacedText {
        RECT box;
        LaidWord word;
        WordColour colour;
        unsigned textId;
    };
    std::shared_ptr<SkinFonts> fonts_ = std::make_shared<SkinFonts>();
    win::ScopedDc measuring_;  // where the words are measured while they are laid out
    std::string face_;
    int scalePercent_ = 100;
    std::vector<PlacedText> texts_;
    std::vector<std::optional<ControlCaption>> captions_;  // by key index
};

}  // namespace skin
