// The words a skin names by string id, drawn by its window and controls.
#include <gtest/gtest.h>

#include <oleacc.h>

#include <array>
#include <string>

#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "common/win/window.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_text_win.h"
#include "tests/win/option/skin/skin_test_support.h"
#include "tools/SkinGallery/test_skin.h"

namespace {

// A pseudo-language word far longer than the 80-pixel button it is put on.
constexpr const char* kLongWord =
    "[\xC3\x80\xC3\xBE\xC3\xBE\xC4\xBC\xC3\xBD \xC5\xA3\xC4\xA5\xC3\xA9 "
    "\xC4\x87\xC4\xA5\xC3\xA5\xC3\xB1\xC4\x9D\xC3\xA9\xC5\xA1 \xC5\xA3\xC3\xB6 "
    "\xC5\xA3\xC4\xA5\xC3\xA9 \xC9\xB1\xC3\xB6\xC3\xBB\xC5\xA1\xC3\xA9 \xC3\xB6\xC3\xB1\xC3\xA9]";

std::string Words(unsigned id) {
    switch (id) {
        case 2001:
            return "Title";
        case 2101:
            return kLongWord;
        case 2102:
            return "\xE7\xA1\xAE\xE5\xAE\x9A";  // "OK" in Chinese
        case 2502:
            return "Apply the changes";
        default:
            return {};
    }
}

class WordsWindow : public win::WindowImpl<WordsWindow> {
  public:
    static std::span<const win::MessageRow<WordsWindow>> MessageMap() { return {}; }
    skin::SkinSurface surface;
    std::array<skin::CSkinButton, 2> buttons;
};

constexpr skin::ControlRow kRows[] = {
    {101, 1, skin::ControlKind::Button},
    {102, 2, skin::ControlKind::LatchingButton},
};

std::wstring AccessibleName(HWND control) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr)
        return {};
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    std::wstring name;
    if (object->get_accName(self, &text) == S_OK && text != nullptr)
        name = text;
    SysFreeString(text);
    object->Release();
    return name;
}

// A long word shrinks to its floor, ends in an ellipsis and leaves its whole
// text to the hint and the screen reader; a short one in Chinese keeps its
// size, is drawn in a face that has its letters and takes the row's hint; the
// window draws its own words in their colour.
TEST(SkinWords, CutWordsEndInAnEllipsisAndKeepTheirWholeTextAsTheName) {
    const std::string folder = skintest::FreshFolder("words");
    ASSERT_TRUE(gallery::WriteTestSkin(folder));
    const std::string ini = folder + "gallery.ini";
    ASSERT_TRUE(WritePrivateProfileStringA(
        "CAPTION", "1", "2101,0,13,b,0xFFFFFF,0xFFFFFF,0xFFFFFF,0x7F7F7F", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA(
        "CAPTION", "2", "2102,2502,13,,0xFFFFFF,0xFFFFFF,0xFFFFFF,0x7F7F7F", ini.c_str()));
    ASSERT_TRUE(
        WritePrivateProfileStringA("TEXT", "1", "20,8,300,30,2001,24,b,0xFF00FF", ini.c_str()));
    skin::SetSkinFolder(folder);
    skin::SetWordSource({&Words, nullptr});

    WordsWindow window;
    win::WindowSpec spec;
    spec.className = "SkinWordsTest";
    spec.style = WS_POPUP;
    ASSERT_TRUE(window.Create(spec));
    ASSERT_EQ(window.surface.InitSkinControls(
                  window.Hwnd(), "gallery.ini", kRows,
                  [&](const skin::ControlRow& row, const skin::ButtonPos& pos,
                      const skin::SkinSheets& sheets) {
                      window.buttons[static_cast<std::size_t>(row.key - 1)].CreateFromRow(
                          window.Hwnd(), row, pos, sheets);
                  }),
              1);

    const skin::CSkinButton& cut = window.buttons[0];
    ASSERT_TRUE(cut.Caption().has_value());
    const skin::LaidWord& word = cut.Caption()->word;
    EXPECT_TRUE(word.cut);
    ASSERT_FALSE(word.shown.empty());
    EXPECT_EQ(word.shown.back(), L'\x2026');
    EXPECT_EQ(word.size, 9);  // the floor: 70 % of 13, no less than 9 px
    EXPECT_EQ(cut.Hint(), kLongWord);
    // A screen reader hears the whole word, in any script.
    EXPECT_EQ(AccessibleName(cut.Hwnd()), win::Wide(kLongWord));

    const skin::CSkinButton& whole = window.buttons[1];
    ASSERT_TRUE(whole.Caption().has_value());
    EXPECT_FALSE(whole.Caption()->word.cut);
    EXPECT_EQ(whole.Caption()->word.shown, L"\x786E\x5B9A");
    EXPECT_NE(whole.Caption()->word.face, L"Arial")
        << "no font with Chinese letters (scripts/setup.sh installs one)";
    EXPECT_EQ(whole.Caption()->word.size, 13);
    EXPECT_EQ(whole.Hint(), "Apply the changes");

    // The title is drawn in magenta on the background.
    const RECT client{0, 0, window.surface.Size().cx, window.surface.Size().cy};
    const win::ScopedWindowDc screen(nullptr);
    const win::ScopedDc memory(CreateCompatibleDC(screen.Get()));
    const win::ScopedGdi<HBITMAP> canvas(
        CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    {
        const win::ScopedSelect use(memory.Get(), canvas.Get());
        window.surface.PaintInto(memory.Get(), client);
    }
    int magenta = 0;
    for (int y = 8; y < 38; ++y) {
        for (int x = 20; x < 120; ++x)
            magenta += skintest::PixelOf(canvas.Get(), x, y) == RGB(255, 0, 255);
    }
    EXPECT_GT(magenta, 10);
    skin::SetWordSource({});
}

}  // namespace
