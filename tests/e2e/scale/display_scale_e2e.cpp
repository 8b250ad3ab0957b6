// Option at the display scales of laptops and 4K monitors: the system DPI of
// the prefix is set before Option starts, and the user's clicks land where
// that scale's skin set puts the controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <cstring>
#include <memory>
#include <string>

#include "common/settings/settings_block.h"
#include "common/settings/shared_section_win.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/option/option_driver_win.h"
#include "tools/SkinGallery/gallery_window_win.h"

namespace {

constexpr int kProfileDialogCancel = 1205;
constexpr int kKeyEditProfile = 4, kKeyProfile1 = 5, kKeyApply = 13, kKeyPage1 = 25;

// Edge v of the 100 % set in the set of `percent` (edges are rounded).
int Edge(int v, int percent) {
    return (v * percent * 2 + 100) / 200;
}

// The centre of a key of the main window as the set of `percent` places it.
POINT ScaledCentre(const e2e::ProgramFolder& folder, int percent, int key) {
    const std::string set = percent == 100 ? "" : std::to_string(percent) + "\\";
    char value[256] = {};
    GetPrivateProfileStringA("BUTTONPOS", std::to_string(key).c_str(), "", value, sizeof value,
                             folder.File("skins\\" + set + "skin_config.ini").c_str());
    int x = 0, y = 0, w = 0, h = 0;
    std::sscanf(value, "%*[^,],%d,%d,%d,%d", &x, &y, &w, &h);
    return POINT{x + w / 2, y + h / 2};
}

// A left click at a point of the window's client area, delivered to the
// window the screen shows there (regions and order as the system sees them).
void ClickAt(HWND window, POINT client) {
    POINT screen = client;
    ClientToScreen(window, &screen);
    // (Right after its start the window may still be on its way to the
    // middle of the screen.)
    HWND target = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] {
        POINT at = client;
        ClientToScreen(window, &at);
        screen = at;
        target = WindowFromPoint(at);
        return target != nullptr && (target == window || IsChild(window, target));
    }));
    POINT local = screen;
    ScreenToClient(target, &local);
    PostMessageA(target, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(local.x, local.y));
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
}

BOOL CALLBACK KeepIfPicker(HWND child, LPARAM out) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (std::strcmp(name, "SkinColorPicker") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(out) = child;
    return FALSE;
}

// The colour picker of the lighting page (the one window of its class).
HWND ColorPicker(HWND window) {
    HWND found = nullptr;
    EnumChildWindows(window, KeepIfPicker, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A press on the picker at a point of its 100 % strip, scaled; returns the
// colour the screen showed there before the press.
COLORREF PressPicker(HWND picker, int percent) {
    const POINT at{Edge(150, percent), Edge(14, percent)};
    POINT onScreen = at;
    ClientToScreen(picker, &onScreen);
    COLORREF shown = CLR_INVALID;
    // The page's own paint may cover the picker after the picker painted, and
    // the screen shows a paint only some time after it, so the picker is
    // painted again before each read, and the read counts once the screen
    // there shows the strip: a light colour (the strip is light at that
    // height; the page around it is dark), the same in two reads running.
    const auto pixel = [](POINT p) {
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return c;
    };
    const auto light = [](COLORREF c) {
        return std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) >= 0x80;
    };
    COLORREF previous = CLR_INVALID;
    e2e::WaitUntil([&] {
        RedrawWindow(picker, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const COLORREF now = pixel(onScreen);
        const bool steady = now == previous;
        previous = now;
        shown = now;
        return now != CLR_INVALID && light(now) && steady && WindowFromPoint(onScreen) == picker;
    });
    // Sent, not posted: the picker's own message to the page is then queued
    // before the Apply click that follows.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    SendMessageTimeoutA(picker, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    return shown;
}

class DisplayScale : public ::testing::TestWithParam<int> {};

TEST_P(DisplayScale, TheWindowIsItsSetsSizeAndScaledClicksReachTheSameBlock) {
    const int dpi = GetParam();
    const int percent = dpi * 100 / 96;
    const e2e::SystemDpiSetting system(static_cast<DWORD>(dpi));

    settings::SharedSection section;
    ASSERT_EQ(section.Create(), settings::SharedSection::CreateResult::Created);
    auto block = std::make_unique<settings::SettingsBlock>();
    std::memset(block.get(), 0, sizeof *block);
    settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
    ASSERT_TRUE(section.Publish(*block));
    e2e::StandInWindow monitor(e2e::kMonitorTitle);
    e2e::ProgramFolder folder;
    e2e::OptionDriver option(folder);
    ASSERT_TRUE(option.Start());
    HWND window = option.Window();

    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Edge(860, percent));
    EXPECT_EQ(client.bottom, Edge(600, percent));

    // Every page, by its selector, photographed at the scales users see most.
    for (int page = 3; page >= 0; --page) {
        ClickAt(window, ScaledCentre(folder, percent, kKeyPage1 + page));
        ASSERT_TRUE(e2e::WaitUntil([&] { return option.PageVisible(page); })) << page;
        if (percent == 150 || percent == 200) {
            EXPECT_TRUE(option.Screenshot("option_" + std::to_string(percent) + "_page" +
                                          std::to_string(page)));
        }
    }
    if (percent == 150 || percent == 200) {
        // One dialog, drawn from its own set.
        option.Click(kKeyEditProfile);
        HWND dialog = option.WaitForDialog();
        ASSERT_NE(dialog, nullptr);
        const std::string shots = e2e::ArtifactsFolder();
        if (!shots.empty()) {
            RedrawWindow(dialog, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            EXPECT_TRUE(gallery::SaveWindowShot(
                dialog, shots + "option_" + std::to_string(percent) + "_profile_dialog.bmp"));
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kProfileDialogCancel, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, kProfileDialogCancel)));
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(dialog); }));
    }
    ClickAt(window, ScaledCentre(folder, percent, kKeyProfile1 + 2));
    // The spectrum gives the colour drawn under the press.
    COLORREF picked = CLR_INVALID;
    if (percent == 150) {
        ClickAt(window, ScaledCentre(folder, percent, kKeyPage1 + 1));
        ASSERT_TRUE(e2e::WaitUntil([&] { return option.PageVisible(1); }));
        HWND picker = ColorPicker(window);
        ASSERT_NE(picker, nullptr);
        picked = PressPicker(picker, percent);
        ASSERT_NE(picked, CLR_INVALID);
        ASSERT_NE(picked, RGB(255, 255, 255));
    }
    ClickAt(window, ScaledCentre(folder, percent, kKeyApply));
    ASSERT_TRUE(monitor.WaitFor(1224));
    ASSERT_TRUE(e2e::ReadSharedBlock(*block));
    EXPECT_EQ(block->currentProfile, 2);
    if (picked != CLR_INVALID) {
        const auto& custom = block->profiles[2].ClCustom;
        std::string stored;
        for (const std::uint32_t c : custom) stored += std::to_string(c) + " ";
        EXPECT_NE(std::find(std::begin(custom), std::end(custom), picked), std::end(custom))
            << "picked " << picked << ", stored " << stored;
    }
}

INSTANTIATE_TEST_SUITE_P(SystemDpi, DisplayScale, ::testing::Values(96, 120, 144, 192));

}  // namespace
