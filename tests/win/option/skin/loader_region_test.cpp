#include <gtest/gtest.h>

#include <string>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/child_window_win.h"
#include "option/skin/picture_prefetch_win.h"
#include "option/skin/region_win.h"
#include "option/skin/skin_loader_win.h"
#include "tests/win/option/skin/skin_test_support.h"
#include "tools/SkinGallery/naive_region_win.h"
#include "tools/SkinGallery/test_skin.h"

#include "tests/win/option/skin/tiny_jpeg.inc"

namespace {

using skin::SkinBitmap;

HBITMAP LoadBmp(const std::string& path) {
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

TEST(LoadSkinPicture, BmpAndJpegGiveTheirSizeAndPixels) {
    const std::string folder = skintest::FreshFolder("load");
    ASSERT_TRUE(gallery::WriteBmp24(folder + "a.bmp", 30, 20, [](int x, int) {
        return x < 15 ? gallery::Color{10, 20, 30} : gallery::Color{250, 0, 0};
    }));
    SkinBitmap target;
    SIZE size{-1, -1};
    ASSERT_EQ(skin::LoadSkinPicture(folder + "a.bmp", target, size), 1);
    EXPECT_EQ(size.cx, 30);
    EXPECT_EQ(size.cy, 20);
    EXPECT_EQ(skintest::PixelOf(target.Get(), 2, 2), RGB(10, 20, 30));
    EXPECT_EQ(skintest::PixelOf(target.Get(), 20, 19), RGB(250, 0, 0));

    ASSERT_TRUE(skintest::WriteBytes(folder + "b.jpg", kTinyJpeg, sizeof kTinyJpeg));
    ASSERT_EQ(skin::LoadSkinPicture(folder + "b.jpg", target, size), 1);
    EXPECT_EQ(size.cx, 8);
    EXPECT_EQ(size.cy, 6);
    const COLORREF c = skintest::PixelOf(target.Get(), 4, 3);
    EXPECT_NEAR(GetRValue(c), 200, 12);
    EXPECT_NEAR(GetGValue(c), 30, 12);
    EXPECT_NEAR(GetBValue(c), 30, 12);
}

TEST(LoadSkinPicture, MissingOrUndecodableGivesEmptyBitmapOfSizeZero) {
    const std::string folder = skintest::FreshFolder("load_bad");
    SkinBitmap target(CreateBitmap(4, 4, 1, 32, nullptr));
    SIZE size{5, 5};
    EXPECT_EQ(skin::LoadSkinPicture(folder + "missing.bmp", target, size), 0);
    EXPECT_FALSE(target);  // the earlier bitmap is released, nothing replaces it
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);

    const char junk[] = "this is not a picture at all";
    ASSERT_TRUE(skintest::WriteBytes(folder + "junk.bmp", junk, sizeof junk));
    size = SIZE{5, 5};
    EXPECT_EQ(skin::LoadSkinPicture(folder + "junk.bmp", target, size), 0);
    EXPECT_FALSE(target);
    EXPECT_EQ(size.cx, 0);
    ASSERT_TRUE(skintest::WriteBytes(folder + "empty.bmp", junk, 0));
    EXPECT_EQ(skin::LoadSkinPicture(folder + "empty.bmp", target, size), 0);
}

// A prefetched picture serves the first load of its path only: a skin edited
// on disk afterwards shows at the next load, and a missing file fails as a
// plain load does.
TEST(LoadSkinPicture, PrefetchedPictureServesOneLoadThenTheFileIsReadAfresh) {
    const std::string folder = skintest::FreshFolder("prefetch");
    const auto solid = [&](const gallery::Color& c) {
        return gallery::WriteBmp24(folder + "p.bmp", 12, 8, [&](int, int) { return c; });
    };
    ASSERT_TRUE(solid(gallery::Color{10, 20, 30}));
    skin::PrefetchPictures({folder + "p.bmp", folder + "missing.bmp"});
    SkinBitmap target;
    SIZE size{};
    ASSERT_EQ(skin::LoadSkinPicture(folder + "p.bmp", target, size), 1);
    EXPECT_EQ(size.cx, 12);
    EXPECT_EQ(skintest::PixelOf(target.Get(), 3, 3), RGB(10, 20, 30));
    EXPECT_EQ(skin::LoadSkinPicture(folder + "missing.bmp", target, size), 0);
    EXPECT_FALSE(target);

    ASSERT_TRUE(solid(gallery::Color{200, 100, 0}));
    ASSERT_EQ(skin::LoadSkinPicture(folder + "p.bmp", target, size), 1);
    EXPECT_EQ(skintest::PixelOf(target.Get(), 3, 3), RGB(200, 100, 0));
}

TEST(ReadSkinString, DefaultsAndTheTwoThousandCharacterBuffer) {
    const std::string folder = skintest::FreshFolder("ini");
    const std::string ini = folder + "s.ini";
    const std::string longValue(3000, 'x');
    ASSERT_TRUE(WritePrivateProfileStringA("BUTTONPOS", "1", longValue.c_str(), ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("SCREEN", "Mask", "m.bmp", ini.c_str()));
    EXPECT_EQ(skin::ReadSkinString(ini, "SCREEN", "Mask"), "m.bmp");
    EXPECT_EQ(skin::ReadSkinString(ini, "SCREEN", "Normal"), "");
    EXPECT_EQ(skin::ReadSkinString(ini, "BUTTONPOS", "1").size(), 2047u);
    EXPECT_EQ(skin::ReadSkinString(folder + "none.ini", "SCREEN", "Mask"), "");
}

// A mask of many short runs: a diagonal lattice inside an ellipse. The ellipse
// test is exact integer arithmetic, (2x-w)^2 h^2 + (2y-h)^2 w^2 <= w^2 h^2, so
// that drawing the mask and checking the region agree on every boundary pixel
// whatever the floating-point unit does with excess precision.
bool ComplexInside(int x, int y, int w, int h) {
    const long long dx = 2LL * x - w, dy = 2LL * y - h, ww = 1LL * w * w, hh = 1LL * h * h;
    if (dx * dx * hh + dy * dy * ww > ww * hh)
        return false;
    return ((x + 2 * y) % 7) != 0 && ((x * 3 + y) % 11) != 0;
}

TEST(CreateRegionFromMask, MatchesThePixelByPixelRegion) {
    const std::string folder = skintest::FreshFolder("region");
    const int w = 160, h = 120;
    ASSERT_TRUE(gallery::WriteBmp24(folder + "m.bmp", w, h, [&](int x, int y) {
        return ComplexInside(x, y, w, h) ? gallery::Color{0, 0, 0} : gallery::Color{255, 255, 255};
    }));
    HBITMAP mask = LoadBmp(folder + "m.bmp");
    ASSERT_NE(mask, nullptr);
    HRGN fast = skin::CreateRegionFromMask(mask, RGB(255, 255, 255), 0);
    HRGN naive = gallery::NaiveRegionFromMask(mask, RGB(255, 255, 255));
    ASSERT_NE(fast, nullptr);
    // Far more than 2000 runs, so several batches were merged.
    EXPECT_TRUE(EqualRgn(fast, naive));
    for (int y = 0; y < h; y += 3)
        for (int x = 0; x < w; x += 2)
            ASSERT_EQ(PtInRegion(fast, x, y) != 0, ComplexInside(x, y, w, h)) << x << "," << y;
    DeleteObject(fast);
    DeleteObject(naive);
    DeleteObject(mask);
}

// The kind of region (NULLREGION, SIMPLEREGION, ...; ERROR when none was
// made) CreateRegionFromMask makes of `mask`, and its bounding box.
int RegionBox(HBITMAP mask, COLORREF key, COLORREF tolerance, RECT& box) {
    const win::ScopedGdi<HRGN> region(skin::CreateRegionFromMask(mask, key, tolerance));
    return region ? GetRgnBox(region.Get(), &box) : ERROR;
}

TEST(CreateRegionFromMask, WhiteSinglePixelNearWhiteAndMissing) {
    const std::string folder = skintest::FreshFolder("region_edges");
    ASSERT_TRUE(gallery::WriteBmp24(folder + "white.bmp", 20, 10, [](int, int) {
        return gallery::Color{255, 255, 255};
    }));
    ASSERT_TRUE(gallery::WriteBmp24(folder + "dot.bmp", 20, 10, [](int x, int y) {
        return x == 0 && y == 0 ? gallery::Color{0, 0, 0} : gallery::Color{255, 255, 255};
    }));
    ASSERT_TRUE(gallery::WriteBmp24(folder + "near.bmp", 20, 10, [](int x, int y) {
        return x == 7 && y == 3 ? gallery::Color{255, 255, 254} : gallery::Color{255, 255, 255};
    }));
    const win::ScopedGdi<HBITMAP> white(LoadBmp(folder + "white.bmp"));
    const win::ScopedGdi<HBITMAP> dot(LoadBmp(folder + "dot.bmp"));
    const win::ScopedGdi<HBITMAP> nearWhite(LoadBmp(folder + "near.bmp"));
    constexpr COLORREF kWhite = RGB(255, 255, 255);
    RECT box;
    EXPECT_EQ(RegionBox(white.Get(), kWhite, 0, box), NULLREGION);
    ASSERT_EQ(RegionBox(dot.Get(), kWhite, 0, box), SIMPLEREGION);
    const RECT origin{0, 0, 1, 1};
    EXPECT_TRUE(EqualRect(&box, &origin));
    ASSERT_EQ(RegionBox(nearWhite.Get(), kWhite, 0, box), SIMPLEREGION);
    EXPECT_EQ(box.left, 7);
    EXPECT_EQ(box.top, 3);
    // A tolerance of 1 on blue makes it transparent too.
    EXPECT_EQ(RegionBox(nearWhite.Get(), RGB(255, 255, 254), RGB(0, 0, 1), box), NULLREGION);
    EXPECT_EQ(skin::CreateRegionFromMask(nullptr, kWhite, 0), nullptr);
}

// A child window built by the recipe lands at (0, 0) of its parent with a
// client of the Normal picture's size, and reads its skin afresh each time.
class ProbeWindow : public win::WindowImpl<ProbeWindow> {
  public:
    static std::span<const win::MessageRow<ProbeWindow>> MessageMap() { return {}; }
};

TEST(ChooseSkinSet, NearestSetAtOrAboveTheScaleAndNextSmallerWhenOneIsMissingOrDamaged) {
    const std::string folder = skintest::FreshFolder("scale-sets");
    ASSERT_TRUE(gallery::WriteTestSkin(folder, {300, 200}));
    // (A fresh folder keeps sub-folders of an earlier run.)
    CreateDirectoryA((folder + "125").c_str(), nullptr);
    ASSERT_TRUE(gallery::WriteTestSkin(folder + "125\\", {375, 250}));
    CreateDirectoryA((folder + "150").c_str(), nullptr);
    ASSERT_TRUE(gallery::WriteTestSkin(folder + "150\\", {450, 300}));
    skin::SetSkinFolder(folder);

    SkinBitmap normal;
    SIZE size{};
    ASSERT_EQ(skin::ChooseSkinSet(144, "gallery.ini", normal, size), 1);
    EXPECT_EQ(skin::SkinFolder(), folder + "150\\");
    EXPECT_EQ(size.cx, 450);
    // 110 % takes the set above it.
    ASSERT_EQ(skin::ChooseSkinSet(106, "gallery.ini", normal, size), 1);
    EXPECT_EQ(skin::SkinFolder(), folder + "125\\");

    // A damaged Normal picture at 150 %; 175 % and 200 % do not exist.
    const std::string normalName =
        skin::ReadSkinString(folder + "150\\gallery.ini", "SCREEN", "Normal");
    ASSERT_TRUE(skintest::WriteBytes(folder + "150\\" + normalName, "damaged", 7));
    for (const UINT dpi : {144u, 288u}) {
        ASSERT_EQ(skin::ChooseSkinSet(dpi, "gallery.ini", normal, size), 1);
        EXPECT_EQ(skin::SkinFolder(), folder + "125\\");
        EXPECT_EQ(size.cx, 375);
    }
    ASSERT_EQ(skin::ChooseSkinSet(96, "gallery.ini", normal, size), 1);
    EXPECT_EQ(skin::SkinFolder(), folder);
    EXPECT_EQ(size.cx, 300);
}

// Answers, from inside one of its messages, the scale its drawing code sees.
class ScaleProbe : public win::WindowImpl<ScaleProbe> {
  public:
    static constexpr UINT kAskScale = WM_APP + 7;
    static std::span<const win::MessageRow<ScaleProbe>> MessageMap() {
        static constexpr win::MessageRow<ScaleProbe> rows[] = {
            win::OnMessage<kAskScale, &ScaleProbe::OnAskScale>(),
        };
        return rows;
    }
    LRESULT OnAskScale() { return skin::SkinScale(); }
};

TEST(InitSkin, EachTopLevelWindowDrawsWithTheSetItChoseAndItsPagesTakeIt) {
    const std::string folder = skintest::FreshFolder("set-per-window");
    ASSERT_TRUE(gallery::WriteTestSkin(folder, {300, 200}));
    CreateDirectoryA((folder + "200").c_str(), nullptr);
    ASSERT_TRUE(gallery::WriteTestSkin(folder + "200\\", {600, 400}));
    skin::SetSkinFolder(folder);

    // A window on a 100 % monitor, then a dialog on a 200 % one.
    ScaleProbe main;
    ScaleProbe dialog;
    skin::SkinSurface mainSurface;
    skin::SkinSurface dialogSurface;
    ASSERT_TRUE(
        main.Create(skin::ChildSpec("SkinScaleProbe", WS_POPUP, {0, 0, 10, 10}, nullptr, 0)));
    ASSERT_TRUE(
        dialog.Create(skin::ChildSpec("SkinScaleProbe", WS_POPUP, {0, 0, 10, 10}, nullptr, 0)));
    mainSurface.UseDpi(96);
    ASSERT_EQ(mainSurface.InitSkin(main.Hwnd(), "gallery.ini", {}, {}), 1);
    dialogSurface.UseDpi(192);
    ASSERT_EQ(dialogSurface.InitSkin(dialog.Hwnd(), "gallery.ini", {}, {}), 1);
    EXPECT_EQ(mainSurface.Size().cx, 300);
    EXPECT_EQ(dialogSurface.Size().cx, 600);

    // A page the main window opens after the dialog chose its set.
    ScaleProbe page;
    ASSERT_TRUE(
        page.Create(skin::ChildSpec("SkinScaleProbe", WS_CHILD, {0, 0, 10, 10}, main.Hwnd(), 0)));
    skin::SkinSurface pageSurface;
    ASSERT_EQ(pageSurface.InitSkin(page.Hwnd(), "gallery.ini", {}, {}), 1);
    EXPECT_EQ(pageSurface.Size().cx, 300);

    EXPECT_EQ(SendMessageA(main.Hwnd(), ScaleProbe::kAskScale, 0, 0), 100);
    EXPECT_EQ(SendMessageA(page.Hwnd(), ScaleProbe::kAskScale, 0, 0), 100);
    EXPECT_EQ(SendMessageA(dialog.Hwnd(), ScaleProbe::kAskScale, 0, 0), 200);

    // The dialog moved to a 100 % monitor reloads at 100 % and leaves the
    // main window as it was.
    dialogSurface.UseDpi(96);
    ASSERT_EQ(dialogSurface.InitSkin(dialog.Hwnd(), "gallery.ini", {}, {}), 1);
    EXPECT_EQ(dialogSurface.Size().cx, 300);
    EXPECT_EQ(SendMessageA(dialog.Hwnd(), ScaleProbe::kAskScale, 0, 0), 100);
}

TEST(InitSkin, SizesToTheNormalPictureAndCreatesControlsInOrder) {
    const std::string folder = skintest::FreshFolder("recipe");
    ASSERT_TRUE(gallery::WriteTestSkin(folder, {300, 200}));
    skin::SetSkinFolder(folder);

    ProbeWindow parent;
    ASSERT_TRUE(parent.Create(skin::ChildSpec("SkinProbeParent", WS_POPUP | WS_VISIBLE,
                                              {100, 100, 600, 500}, nullptr, 0)));
    for (int round = 0; round < 2; ++round) {
        ProbeWindow child;
        ASSERT_TRUE(child.Create(skin::ChildSpec("SkinProbeChild", WS_CHILD | WS_VISIBLE,
                                                 {33, 44, 43, 54}, parent.Hwnd(), 0)));
        skin::SkinSurface surface;
        std::vector<std::string> seen;
        const char* const keys[] = {"3", "1", "99"};
        ASSERT_EQ(surface.InitSkin(child.Hwnd(), "gallery.ini", keys,
                                   [&](std::size_t, const char* key, const skin::ButtonPos& pos,
                                       const skin::SkinSheets& sheets) {
                                       for (auto state :
                                            {skin::ButtonImage::Normal, skin::ButtonImage::Over,
                                             skin::ButtonImage::Down, skin::ButtonImage::Disabled})
                                           EXPECT_NE(sheets.Get(state), nullptr);
                                       seen.push_back(std::string(key) + ":" + pos.name);
                                   }),
                  1);
        const std::vector<std::string> expected{"3:swatch", "1:push", "99:"};
        EXPECT_EQ(seen, expected);
        RECT client, window;
        GetClientRect(child.Hwnd(), &client);
        GetWindowRect(child.Hwnd(), &window);
        MapWindowPoints(nullptr, parent.Hwnd(), reinterpret_cast<POINT*>(&window), 2);
        const int wantW = round == 0 ? 300 : 360;
        const int wantH = round == 0 ? 200 : 240;
        EXPECT_EQ(client.right, wantW);
        EXPECT_EQ(client.bottom, wantH);
        EXPECT_EQ(window.left, 0);
        EXPECT_EQ(window.top, 0);
        EXPECT_EQ(surface.Size().cx, wantW);
        EXPECT_EQ(skin::SkinFolder(), folder);
        ASSERT_EQ(surface.ApplyShape(child.Hwnd()), 1);
        EXPECT_FALSE(PtInRegion(surface.Region(), 3, 3));
        EXPECT_TRUE(PtInRegion(surface.Region(), 100, 100));
        // The skin edited on disk is what the next window gets.
        ASSERT_TRUE(gallery::WriteTestSkin(folder, {360, 240}));
    }
}

}  // namespace
