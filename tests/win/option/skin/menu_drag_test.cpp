// Owner-drawn menu items drawn into a memory context, and the body drag.
#include <gtest/gtest.h>

#include <iterator>
#include <memory>

#include "common/win/dib_win.h"
#include "common/win/window.h"
#include "option/skin/child_window_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_menu_win.h"
#include "tests/win/option/skin/skin_test_support.h"

namespace {

using skin::CSkinMenu;

struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    Canvas(int w, int h) {
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO bmi = win::TopDownRgb32(w, h);
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    int Count(COLORREF c, const RECT& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (GetPixel(dc, x, y) == c)
                    ++n;
        return n;
    }
};

DRAWITEMSTRUCT ItemDraw(const CSkinMenu& menu, int index, HDC dc, const RECT& r, UINT state) {
    auto it = menu.Items().begin();
    std::advance(it, index);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = (it->flags & MF_SEPARATOR) ? 0 : static_cast<UINT>(it->flagsOrId);
    dis.itemState = state;
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = reinterpret_cast<ULONG_PTR>(&*it);
    return dis;
}

class SkinMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        font_ = CreateFontA(30, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                            DEFAULT_PITCH, "Arial");
        menu_ = std::make_unique<CSkinMenu>(font_);
        ASSERT_TRUE(menu_->Attach());
        menu_->SetWidth(133);
        ASSERT_TRUE(menu_->AppendItem(0, "Left", 3001, nullptr, 1));
        ASSERT_TRUE(menu_->AppendItem(MF_SEPARATOR, "", 0));
        ASSERT_TRUE(menu_->AppendItem(0, "Right", 3002));
    }
    void TearDown() override {
        menu_.reset();
        DeleteObject(font_);
    }
    HFONT font_ = nullptr;
    std::unique_ptr<CSkinMenu> menu_;
};

TEST_F(SkinMenuTest, MeasuringThroughTheOwnerWindowRoute) {
    int height = 0;
    for (int i = 0; i < 3; ++i) {
        auto it = menu_->Items().begin();
        std::advance(it, i);
        MEASUREITEMSTRUCT mis{};
        mis.CtlType = ODT_MENU;
        mis.itemID = (it->flags & MF_SEPARATOR) ? 0 : static_cast<UINT>(it->flagsOrId);
        mis.itemData = reinterpret_cast<ULONG_PTR>(&*it);
        ASSERT_TRUE(CSkinMenu::RouteOwnerDraw(&mis));
        EXPECT_EQ(mis.itemWidth, 133u);
        height += static_cast<int>(mis.itemHeight);
    }
    EXPECT_EQ(height, 19 + 5 + 19);
    EXPECT_EQ(menu_->Items().back().position, 3);
    // Items of no live menu (and other controls) are left to the window.
    MEASUREITEMSTRUCT stranger{};
    stranger.CtlType = ODT_MENU;
    stranger.itemData = 12345;
    EXPECT_FALSE(CSkinMenu::RouteOwnerDraw(&stranger));
    stranger.CtlType = ODT_BUTTON;
    stranger.itemData = reinterpret_cast<ULONG_PTR>(&menu_->Items().front());
    EXPECT_FALSE(CSkinMenu::RouteOwnerDraw(&stranger));
    // A 20-character item widens the menu to 160.
    ASSERT_TRUE(menu_->AppendItem(0, "twenty characters!!!", 3003));
    EXPECT_EQ(menu_->Width(), 160);
}

TEST_F(SkinMenuTest, MarkedItemKeepsItsColourWhenSelected) {
    Canvas canvas(160, 40);
    const RECT r{0, 0, 160, 40};
    DRAWITEMSTRUCT dis = ItemDraw(*menu_, 0, canvas.dc, r, ODS_SELECTED);
    ASSERT_TRUE(CSkinMenu::RouteOwnerDraw(&dis));
    EXPECT_GT(canvas.Count(CSkinMenu::kMarkedText, r), 20);
    EXPECT_EQ(canvas.Count(RGB(255, 255, 255), r), 0);
    EXPECT_EQ(GetPixel(canvas.dc, 150, 2), RGB(6, 107, 149));  // selected background

    // An unmarked item, not selected: white text on black.
    Canvas plain(160, 40);
    dis = ItemDraw(*menu_, 2, plain.dc, r, 0);
    ASSERT_TRUE(CSkinMenu::RouteOwnerDraw(&dis));
    EXPECT_GT(plain.Count(RGB(255, 255, 255), r), 20);
    EXPECT_EQ(plain.Count(CSkinMenu::kMarkedText, r), 0);
    EXPECT_EQ(GetPixel(plain.dc, 150, 2), RGB(0, 0, 0));
    // The text starts 2 pixels in: the first two columns are background only.
    EXPECT_EQ(plain.Count(RGB(0, 0, 0), RECT{0, 0, 2, 40}), 80);
}

TEST_F(SkinMenuTest, SeparatorIsALineAtHalfHeight) {
    Canvas canvas(133, 5);
    const RECT r{0, 0, 133, 5};
    DRAWITEMSTRUCT dis = ItemDraw(*menu_, 1, canvas.dc, r, 0);
    ASSERT_TRUE(CSkinMenu::RouteOwnerDraw(&dis));
    EXPECT_EQ(canvas.Count(RGB(6, 107, 149), RECT{0, 2, 133, 3}), 133);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), RECT{0, 0, 133, 2}), 266);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), RECT{0, 3, 133, 5}), 266);
}

// Records the caption presses that a body drag posts.
class DragProbe : public win::WindowImpl<DragProbe> {
  public:
    int presses = 0;
    int hit = 0;
    POINT at{0, 0};
    static std::span<const win::MessageRow<DragProbe>> MessageMap() {
        static constexpr win::MessageRow<DragProbe> rows[] = {
            win::OnMessage<WM_NCLBUTTONDOWN, &DragProbe::OnNcPress>()};
        static_assert(win::NoRowShadowed(rows),
                      "a row of this table is shadowed by an earlier one");
        return rows;
    }

  private:
    LRESULT OnNcPress(int hitTest, POINT screen) {
        ++presses;
        hit = hitTest;
        at = screen;
        return 0;
    }
};

TEST(DragByBody, TopLevelWindowAndPageParentGetTheCaptionPress) {
    DragProbe top;
    ASSERT_TRUE(top.Create(
        skin::ChildSpec("SkinDragTop", WS_POPUP | WS_VISIBLE, {50, 60, 350, 260}, nullptr, 0)));
    DragProbe page;
    ASSERT_TRUE(page.Create(
        skin::ChildSpec("SkinDragPage", WS_CHILD | WS_VISIBLE, {20, 30, 120, 130}, top.Hwnd(), 0)));

    skin::DragByBody(top.Hwnd(), POINT{5, 7}, false);
    skintest::Pump(50);
    EXPECT_EQ(top.presses, 1);
    EXPECT_EQ(top.hit, HTCAPTION);
    EXPECT_EQ(top.at.x, 55);  // screen coordinates
    EXPECT_EQ(top.at.y, 67);

    skin::DragByBody(page.Hwnd(), POINT{1, 2}, true);
    skintest::Pump(50);
    EXPECT_EQ(page.presses, 0);
    EXPECT_EQ(top.presses, 2);
    EXPECT_EQ(top.at.x, 71);
    EXPECT_EQ(top.at.y, 92);
}

}  // namespace
