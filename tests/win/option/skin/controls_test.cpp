// The skinned controls inside the gallery window, driven by their input
// messages in this process.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "option/skin/control_math.h"
#include "option/skin/skin_menu_win.h"
#include "tests/win/option/skin/skin_test_support.h"
#include "tools/SkinGallery/gallery_window_win.h"
#include "tools/SkinGallery/test_skin.h"

namespace {

using gallery::GalleryWindow;
using skintest::Contains;
using skintest::Lines;
using skintest::Pump;

COLORREF Ref(gallery::Color c) {
    return RGB(c.r, c.g, c.b);
}

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

POINT Centre(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return POINT{r.right / 2, r.bottom / 2};
}

// Sends mouse message `msg` to `to` at the point over the centre of `over`,
// as a control that holds the capture hears of a jump onto its neighbour.
void SendOverCentreOf(HWND to, UINT msg, WPARAM wParam, HWND over) {
    POINT p = Centre(over);
    MapWindowPoints(over, to, &p, 1);
    SendMessageA(to, msg, wParam, At(p.x, p.y));
}

// Presses the mouse over `face` while `holder` holds the capture: `face`
// takes the press, and the release on it is a click.
void PressAcrossAndRelease(HWND holder, HWND face) {
    SendOverCentreOf(holder, WM_LBUTTONDOWN, MK_LBUTTON, face);
    ASSERT_EQ(GetCapture(), face);
    const POINT f = Centre(face);
    SendMessageA(face, WM_LBUTTONUP, 0, At(f.x, f.y));
}

void Click(HWND hwnd, int x, int y) {
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, At(x, y));
}

class GalleryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = skintest::FreshFolder("gallery");
        ASSERT_TRUE(gallery::WriteTestSkin(folder_));
        skin::SetSkinFolder(folder_);
        skin::CCoolMenu::Install();
        window_ = std::make_unique<GalleryWindow>();
        ASSERT_TRUE(window_->Create("gallery.ini"));
        skin::SetHintWindow(window_->Hwnd());
        ShowWindow(window_->Hwnd(), SW_SHOW);
        SetForegroundWindow(window_->Hwnd());
        SetActiveWindow(window_->Hwnd());
        Pump(150);
        window_->ClearLog();
    }
    void TearDown() override {
        window_.reset();
        skin::SetHintWindow(nullptr);
        skin::CCoolMenu::Uninstall();
    }
    GalleryWindow& G() { return *window_; }
    const std::vector<std::string>& Log() { return window_->Log(); }

    std::string folder_;
    std::unique_ptr<GalleryWindow> window_;
};

TEST_F(GalleryTest, WindowTakesSizeAndShapeFromTheSkin) {
    RECT r;
    GetWindowRect(G().Hwnd(), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 320);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(G().Hwnd(), shape), ERROR);
    for (int y = 0; y < 320; y += 4) {
        for (int x = 0; x < 400; x += 4) {
            const bool outside =
                x + y < 24 || (x >= gallery::kHoleLeft && x < gallery::kHoleRight &&
                               y >= gallery::kHoleTop && y < gallery::kHoleBottom);
            ASSERT_EQ(PtInRegion(shape, x, y) == 0, outside) << x << "," << y;
        }
    }
    DeleteObject(shape);
    // Hit-testing follows the shape: the hole shows what lies behind.
    EXPECT_NE(WindowFromPoint(POINT{370, 25}), G().Hwnd());
    EXPECT_EQ(WindowFromPoint(POINT{200, 300}), G().Hwnd());
}

TEST_F(GalleryTest, ButtonsCutTheirFourImagesFromTheSheets) {
    for (skin::CSkinButton* b : {&G().push, &G().latch, &G().face}) {
        EXPECT_EQ(skintest::PixelOf(b->Image(0), 10, 10),
                  Ref(gallery::ControlColor(gallery::kNormalColor)));
        EXPECT_EQ(skintest::PixelOf(b->Image(1), 10, 10),
                  Ref(gallery::ControlColor(gallery::kOverColor)));
        EXPECT_EQ(skintest::PixelOf(b->Image(2), 10, 10),
                  Ref(gallery::ControlColor(gallery::kDownColor)));
        EXPECT_EQ(skintest::PixelOf(b->Image(3), 10, 10),
                  Ref(gallery::ControlColor(gallery::kDisableColor)));
        // The top-left pixel of each image is the rectangle's frame on the sheet.
        EXPECT_EQ(skintest::PixelOf(b->Image(0), 0, 0), RGB(220, 220, 220));
    }
    EXPECT_EQ(G().push.Hint(), "Push hint");
    EXPECT_EQ(G().face.FaceText(), "Face text");
    const LONG_PTR style = GetWindowLongPtrA(G().push.Hwnd(), GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(style & WS_TABSTOP, 0);
}

TEST_F(GalleryTest, PushButtonDraggedOffSendsNoClick) {
    HWND push = G().push.Hwnd();
    const POINT c = Centre(push);
    SendMessageA(push, WM_LBUTTONDOWN, MK_LBUTTON, At(c.x, c.y));
    EXPECT_EQ(G().push.CurrentImage(), skin::ButtonImage::Down);  // held down
    SendMessageA(push, WM_MOUSEMOVE, MK_LBUTTON, At(c.x, c.y + 200));
    SendMessageA(push, WM_LBUTTONUP, 0, At(c.x, c.y + 200));
    Pump(100);
    EXPECT_TRUE(Lines(Log(), "command").empty());
    EXPECT_FALSE(G().push.Hover());
    EXPECT_EQ(G().push.CurrentImage(), skin::ButtonImage::Normal);

    Click(push, c.x, c.y);
    Pump(100);
    EXPECT_EQ(Lines(Log(), "command"), std::vector<std::string>{"command 1001 0"});
}

// A hovered button holds the capture; what the mouse does next is routed to
// it as the system routes input under a capture.
TEST_F(GalleryTest, HoveredButtonKeepsItsPressAndPassesOnPressesElsewhere) {
    HWND push = G().push.Hwnd();
    HWND face = G().face.Hwnd();
    const POINT c = Centre(push);
    SendMessageA(push, WM_MOUSEMOVE, 0, At(c.x, c.y));
    ASSERT_EQ(GetCapture(), push);
    // Pressed where it is hovered, it keeps the capture, so a release off
    // the button still comes back to it and clicks nothing.
    SendMessageA(push, WM_LBUTTONDOWN, MK_LBUTTON, At(c.x, c.y));
    EXPECT_EQ(GetCapture(), push);
    SendMessageA(push, WM_MOUSEMOVE, MK_LBUTTON, At(c.x, c.y + 200));
    SendMessageA(GetCapture(), WM_LBUTTONUP, 0, At(c.x, c.y + 200));
    EXPECT_EQ(G().push.CurrentImage(), skin::ButtonImage::Normal);

    // Hovered again, then pressed over its neighbour without a move in
    // between (the pointer jumped): the neighbour gets the press and the click.
    SendMessageA(push, WM_MOUSEMOVE, 0, At(c.x, c.y));
    ASSERT_EQ(GetCapture(), push);
    PressAcrossAndRelease(push, face);
    EXPECT_FALSE(G().push.Hover());
    EXPECT_EQ(G().push.CurrentImage(), skin::ButtonImage::Normal);
    Pump(100);
    EXPECT_EQ(Lines(Log(), "command"),
              std::vector<std::string>{"command " + std::to_string(GetDlgCtrlID(face)) + " 0"});
}

TEST_F(GalleryTest, LatchingButtonClickedTwiceSendsTwoCommandsAndReturnsToNormal) {
    HWND latch = G().latch.Hwnd();
    const POINT c = Centre(latch);
    Click(latch, c.x, c.y);
    EXPECT_TRUE(G().latch.Latched());
    EXPECT_EQ(G().latch.CurrentImage(), skin::ButtonImage::Down);
    // Released anywhere, a latching click still counts.
    SendMessageA(latch, WM_LBUTTONDOWN, MK_LBUTTON, At(c.x, c.y));
    SendMessageA(latch, WM_LBUTTONUP, 0, At(c.x + 300, c.y + 100));
    Pump(100);
    EXPECT_EQ(Lines(Log(), "command"),
              (std::vector<std::string>{"command 1002 0", "command 1002 0"}));
    EXPECT_FALSE(G().latch.Latched());
    EXPECT_EQ(G().latch.CurrentImage(), skin::ButtonImage::Normal);
    // Latched by its window, a push button shows Down; disabled it does not.
    G().push.SetLatched(true);
    EXPECT_EQ(G().push.CurrentImage(), skin::ButtonImage::Down);
    EnableWindow(G().push.Hwnd(), FALSE);
    EXPECT_EQ(G().push.CurrentImage(), skin::ButtonImage::Disabled);
}

TEST_F(GalleryTest, HoverLeavesTheFirstButtonBeforeEnteringTheNext) {
    HWND push = G().push.Hwnd();
    HWND latch = G().latch.Hwnd();
    const POINT a = Centre(push);
    SendMessageA(push, WM_MOUSEMOVE, 0, At(a.x, a.y));
    EXPECT_TRUE(G().push.Hover());
    EXPECT_EQ(GetCapture(), push);
    EXPECT_EQ(skin::HintString(), "Push hint");
    // Straight onto the neighbour: the point lies over the latching button.
    SendOverCentreOf(push, WM_MOUSEMOVE, 0, latch);
    EXPECT_FALSE(G().push.Hover());
    EXPECT_NE(GetCapture(), push);
    const POINT b = Centre(latch);
    SendMessageA(latch, WM_MOUSEMOVE, 0, At(b.x, b.y));
    Pump(100);
    EXPECT_EQ(Lines(Log(), "hover"),
              (std::vector<std::string>{"hover 1 1", "hover 0 1", "hover 1 2"}));
    EXPECT_TRUE(Contains(Log(), "hint 1 Latch hint"));
    EXPECT_EQ(G().latch.CurrentImage(), skin::ButtonImage::Over);
    ReleaseCapture();
}

TEST_F(GalleryTest, SwatchPublishesItsHintOnlyWhileHovered) {
    HWND swatch = G().swatch.Hwnd();
    G().swatch.SetHover(true);
    EXPECT_EQ(skin::HintString(), "Swatch hint");
    G().swatch.SetHover(false);
    EXPECT_EQ(skin::HintString(), "");
    G().push.SetHover(false);
    EXPECT_EQ(skin::HintString(), "Push hint");  // the plain button writes it either way
    EXPECT_EQ(G().swatch.SwatchColor(), RGB(255, 140, 0));
    (void)swatch;
}

// Each value control publishes its hint on the first move over it and not
// again while the hint window shows that hint; a label with its hint
// switched off leaves the shown hint alone.
TEST_F(GalleryTest, ValueControlsPublishTheirHintOnceWhileItIsShown) {
    const std::string before = skin::HintString();
    G().label.EnableHint(false);
    SendMessageA(G().label.Hwnd(), WM_MOUSEMOVE, 0, At(2, 2));
    EXPECT_EQ(skin::HintString(), before);
    G().label.EnableHint(true);

    struct Case {
        HWND hwnd;
        const char* hint;
    };
    const Case cases[] = {
        {G().slider.Hwnd(), "Slider hint"}, {G().fill.Hwnd(), "Fill hint"},
        {G().spin.Hwnd(), "Spin hint"},     {G().edit.Hwnd(), "Edit hint"},
        {G().label.Hwnd(), "Label hint"},   {G().picker.Hwnd(), "Create Custom Color"},
    };
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        SendMessageA(c.hwnd, WM_MOUSEMOVE, 0, At(2, 2));
        SendMessageA(c.hwnd, WM_MOUSEMOVE, 0, At(3, 2));
        EXPECT_EQ(skin::HintString(), c.hint);
        expected.push_back(std::string("hint 1 ") + c.hint);
        Pump(0);  // the hint window notes the posted hint while it is still shown
    }
    // Wherever the pointer really is, the leave notices the moves asked for
    // may arrive too; the picker's clears the hint, which is no publication.
    std::vector<std::string> published;
    for (const std::string& line : Lines(Log(), "hint"))
        if (line != "hint 1 ")
            published.push_back(line);
    EXPECT_EQ(published, expected);
}

TEST_F(GalleryTest, TrackClicksGiveTruncatedOrRoundedValues) {
    HWND track = G().slider.Hwnd();
    SendMessageA(track, WM_LBUTTONUP, 0, At(100, 10));
    SendMessageA(track, WM_LBUTTONUP, 0, At(199, 10));
    SendMessageA(track, WM_LBUTTONUP, 0, At(-30, 10));
    SendMessageA(track, WM_LBUTTONUP, 0, At(260, 10));
    G().slider.SetRounding(true);
    SendMessageA(track, WM_LBUTTONUP, 0, At(199, 10));
    Pump(100);
    EXPECT_EQ(Lines(Log(), "slider"),
              (std::vector<std::string>{"slider 5 1005", "slider 9 1005", "slider 0 1005",
                                        "slider 10 1005", "slider 10 1005"}));
    EXPECT_EQ(G().slider.Pos(), 10);
}

TEST_F(GalleryTest, ThumbFollowsPositionAndDrags) {
    skin::SliderThumb& thumb = G().slider.Thumb();
    auto left = [&] {
        RECT r;
        GetWindowRect(thumb.Hwnd(), &r);
        MapWindowPoints(nullptr, G().slider.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r.left;
    };
    G().slider.SetPos(20);  // above the maximum: the right end
    EXPECT_EQ(thumb.Pos(), 10u);
    EXPECT_EQ(left(), 200 - thumb.Width());
    G().slider.SetPos(0);
    EXPECT_EQ(left(), 0);

    SendMessageA(thumb.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 8));
    SendMessageA(thumb.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(5 + 95, 8));
    EXPECT_EQ(left(), 95);
    SendMessageA(thumb.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(5 + 500, 8));
    EXPECT_EQ(left(), 190);  // kept inside the track
    SendMessageA(thumb.Hwnd(), WM_LBUTTONUP, 0, At(5, 8));
    Pump(100);
    EXPECT_EQ(Lines(Log(), "slider"),
              (std::vector<std::string>{"slider 5 1005", "slider 10 1005", "slider 10 1005"}));
    EXPECT_NE(GetCapture(), thumb.Hwnd());
}

TEST_F(GalleryTest, FillBarFollowsTheMouse) {
    HWND bar = G().fill.Hwnd();
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(70, 8));
    SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, At(-50, 8));
    SendMessageA(bar, WM_LBUTTONUP, 0, At(140, 8));
    SendMessageA(bar, WM_MOUSEMOVE, 0, At(10, 8));  // not dragging any more
    Pump(100);
    EXPECT_EQ(Lines(Log(), "fill"), (std::vector<std::string>{"fill 0 1006", "fill 10 1006"}));
    EXPECT_EQ(G().fill.Pos(), 10);
}

TEST_F(GalleryTest, SpinBoxLimitsTextAndSteps) {
    HWND editWnd = G().spin.Edit().Hwnd();
    EXPECT_EQ(SendMessageA(editWnd, EM_GETLIMITTEXT, 0, 0), 2);
    G().spin.SetRange(0, 10);
    EXPECT_EQ(SendMessageA(editWnd, EM_GETLIMITTEXT, 0, 0), 2);
    G().spin.SetRange(-5, 5);
    const POINT c = Centre(G().spin.UpButton().Hwnd());
    Click(G().spin.UpButton().Hwnd(), c.x, c.y);
    Pump(100);
    EXPECT_EQ(G().spin.Value(), 1);
    EXPECT_EQ(G().spin.Edit().Text(), "1");
    EXPECT_EQ(Lines(Log(), "spin").back(), "spin 1 1007");
    for (int i = 0; i < 8; ++i) Click(G().spin.DownButton().Hwnd(), c.x, c.y);
    Pump(100);
    EXPECT_EQ(G().spin.Value(), -5);
    EXPECT_EQ(G().spin.Edit().Text(), "-5");

    G().spin.SetRange(0, 500);
    G().spin.SetStep(50);
    G().spin.SetValue(100);
    Click(G().spin.UpButton().Hwnd(), c.x, c.y);
    Pump(100);
    EXPECT_EQ(G().spin.Value(), 150);
    // Typed text is rounded to the step and kept in range.
    G().spin.Edit().SetText("120");
    Pump(100);
    EXPECT_EQ(G().spin.Value(), 100);
    EXPECT_EQ(G().spin.Edit().Text(), "100");
    EXPECT_EQ(Lines(Log(), "spin").back(), "spin 100 1007");
}

TEST_F(GalleryTest, NumericEditKeepsLeadingDigitsAndIgnoresArrows) {
    skin::CBitmapEdit& edit = G().edit;
    edit.SetText("12a3");
    EXPECT_EQ(edit.Text(), "12");
    SendMessageA(edit.Hwnd(), EM_SETSEL, 1, 1);
    SendMessageA(edit.Hwnd(), WM_KEYDOWN, VK_UP, 0);
    SendMessageA(edit.Hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    DWORD start = 0, end = 0;
    SendMessageA(edit.Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 1u);
    SendMessageA(edit.Hwnd(), WM_CHAR, 'x', 0);
    SendMessageA(edit.Hwnd(), WM_CHAR, '7', 0);
    EXPECT_EQ(edit.Text(), "172");
    SendMessageA(edit.Hwnd(), WM_KEYUP, VK_RETURN, 0);
    Pump(100);
    // One commit per change; the window reads the text when each arrives.
    EXPECT_EQ(Lines(Log(), "editcommit").size(), 2u);
    EXPECT_TRUE(Contains(Log(), "editcommit 172"));
    EXPECT_TRUE(Contains(Log(), "enter 13 0"));
}

TEST_F(GalleryTest, ColorPickerIgnoresWhiteButMovesTheMarker) {
    HWND picker = G().picker.Hwnd();
    const COLORREF before = G().picker.GetColor();
    EXPECT_EQ(before, RGB(255, 0, 0));
    SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, At(100, 6));  // top row: white
    SendMessageA(picker, WM_LBUTTONUP, 0, At(100, 6));
    EXPECT_EQ(G().picker.MarkerPos().x, 94);
    EXPECT_EQ(G().picker.MarkerPos().y, 0);
    EXPECT_EQ(G().picker.GetColor(), before);
    Pump(50);
    EXPECT_TRUE(Lines(Log(), "picked").empty());

    SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, At(100, 40));  // clamped to the bottom row
    SendMessageA(picker, WM_LBUTTONUP, 0, At(100, 40));
    SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, At(120, 18));
    SendMessageA(picker, WM_LBUTTONUP, 0, At(120, 18));
    Pump(50);
    // y 40 lies outside the grown pick area; the second click picks once.
    EXPECT_EQ(Lines(Log(), "picked").size(), 1u);
    EXPECT_EQ(G().picker.MarkerPos().x, 114);
    EXPECT_EQ(G().picker.MarkerPos().y, 12);
    const COLORREF picked = G().picker.GetColor();
    EXPECT_NE(picked, before);
    EXPECT_NE(picked, RGB(255, 255, 255));
}

// Closes the popup menu from inside its loop after looking at its window.
struct MenuProbe {
    int seen = 0;
    int withProperty = 0;
    int itemHeights[4] = {0, 0, 0, 0};
    COLORREF outline = CLR_INVALID;
    COLORREF inner = CLR_INVALID;
};
MenuProbe* g_probe = nullptr;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup != nullptr && IsWindowVisible(popup) && g_probe != nullptr) {
        ++g_probe->seen;
        if (GetPropA(popup, skin::CCoolMenu::kOldProcProperty) != nullptr)
            ++g_probe->withProperty;
        const std::string artifacts = skintest::ArtifactsFolder();
        if (g_probe->seen == 1 && !artifacts.empty()) {
            UpdateWindow(popup);
            gallery::SaveWindowShot(popup, artifacts + "skin_popup_menu.bmp");
        }
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        HDC dc = GetWindowDC(popup);
        g_probe->outline = GetPixel(dc, 0, 0);
        g_probe->inner = GetPixel(dc, 1, 1);
        ReleaseDC(popup, dc);
        for (int i = 0; i < 4; ++i) {
            RECT r{};
            if (menu != nullptr && GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r))
                g_probe->itemHeights[i] = r.bottom - r.top;
        }
    }
    KillTimer(nullptr, id);
    EndMenu();
}

TEST_F(GalleryTest, PopupMenuIsSubclassedOnEachShowing) {
    MenuProbe probe;
    g_probe = &probe;
    const int before = skin::CCoolMenu::SubclassCount();
    for (int round = 0; round < 2; ++round) {
        SetTimer(nullptr, 0, 300, &CloseMenu);
        G().ShowMenu();
        Pump(50);
    }
    g_probe = nullptr;
    EXPECT_EQ(probe.seen, 2);
    EXPECT_EQ(probe.withProperty, 2);
    EXPECT_EQ(skin::CCoolMenu::SubclassCount() - before, 2);
    EXPECT_EQ(skin::CCoolMenu::FrameCount(), 0u);  // the hide took each frame away
    EXPECT_EQ(probe.itemHeights[0] + probe.itemHeights[1] + probe.itemHeights[2], 19 + 5 + 19);
    EXPECT_EQ(probe.itemHeights[3], 19);  // the submenu item
    // The flat frame in the colours the window set before showing the menu.
    EXPECT_EQ(probe.outline, RGB(6, 107, 149));
    EXPECT_EQ(probe.inner, RGB(0, 0, 0));
    EXPECT_FALSE(G().menuButton.Hover());
}

TEST_F(GalleryTest, ShapedButtonClicksInsideItsOutlineOnly) {
    HWND rgn = G().rgn.Hwnd();
    ASSERT_NE(G().rgn.Shape(), nullptr);
    EXPECT_EQ(G().rgn.Tag(), 342);
    Click(rgn, 30, 20);  // centre of the ellipse
    Click(rgn, 1, 1);    // a corner outside it
    Pump(100);
    EXPECT_EQ(Lines(Log(), "command"), std::vector<std::string>{"command 1004 0"});
    EXPECT_EQ(Lines(Log(), "hover 0 342").size(), 2u);
    EXPECT_EQ(G().rgn.VisualState(), skin::RgnState::Normal);

    // Hovered, then pressed over another control without a move in between
    // (the pointer jumped): that control gets the press and the click.
    G().ClearLog();
    SendMessageA(rgn, WM_MOUSEMOVE, 0, At(30, 20));
    ASSERT_EQ(GetCapture(), rgn);
    HWND face = G().face.Hwnd();
    PressAcrossAndRelease(rgn, face);
    Pump(100);
    EXPECT_EQ(Lines(Log(), "command"),
              std::vector<std::string>{"command " + std::to_string(GetDlgCtrlID(face)) + " 0"});
    EXPECT_EQ(G().rgn.VisualState(), skin::RgnState::Normal);
}

}  // namespace
