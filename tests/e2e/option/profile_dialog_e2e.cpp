// Keys "4" and "44" of the real Option open the profile dialog on the current
// profile; what the user enters there reaches the profile file after Apply.
#include <gtest/gtest.h>

#include <string>

#include "common/text_format.h"
#include "common/trace_points.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/option/option_driver_win.h"
#include "tools/SkinGallery/gallery_window_win.h"

namespace {

using e2e::OptionDriver;

constexpr int kKeyEditProfile = 4, kKeyApply = 13, kKeyNewProfile = 44;
constexpr int kNameField = 4010, kGameField = 4020;
// Buttons of the profile dialog: 1200 + their skin key.
constexpr int kBrowse = 1203, kOk = 1204, kCancel = 1205;

// The text of a control of another process (GetWindowText gives only captions).
std::string Text(HWND window) {
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Types `text` over the field's whole text, key by key.
void TypeInto(HWND field, const std::string& text) {
    PostMessageA(field, EM_SETSEL, 0, -1);
    for (char c : text) PostMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

TEST(OptionProfileDialog, KeysFourAndFortyFourEditTheCurrentProfile) {
    e2e::ProgramFolder folder;
    OptionDriver option(folder);
    ASSERT_TRUE(option.Start());

    // "4": filled from the profile; a new name and a chosen game program.
    option.Click(kKeyEditProfile);
    HWND dialog = option.WaitForDialog(kGameField);
    ASSERT_NE(dialog, nullptr);
    HWND name = GetDlgItem(dialog, kNameField);
    EXPECT_EQ(Text(name), "Default1");
    TypeInto(name, "Arena");
    ASSERT_TRUE(e2e::WaitUntil([&] { return Text(name) == "Arena"; }));
    Press(dialog, kBrowse);
    const std::string game = folder.File("Option.exe");
    ASSERT_TRUE(option.ChooseFile(game));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Text(GetDlgItem(dialog, kGameField)) == game; }));
    // Moved to a monitor at 150 % and back: the dialog is its set's size each
    // time, and what was typed and not yet confirmed stays.
    RECT before{};
    GetClientRect(dialog, &before);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
    RECT scaled{};
    GetClientRect(dialog, &scaled);
    EXPECT_EQ(scaled.right, (before.right * 3 + 1) / 2);
    EXPECT_EQ(scaled.bottom, (before.bottom * 3 + 1) / 2);
    const std::string shots = e2e::ArtifactsFolder();
    if (!shots.empty()) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_TRUE(gallery::SaveWindowShot(dialog, shots + "option_profile_dialog_150.bmp"));
    }
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    RECT back{};
    GetClientRect(dialog, &back);
    EXPECT_EQ(back.right, before.right);
    EXPECT_EQ(Text(GetDlgItem(dialog, kNameField)), "Arena");
    EXPECT_EQ(Text(GetDlgItem(dialog, kGameField)), game);
    if (!shots.empty()) {
        EXPECT_TRUE(
            gallery::SaveWindowShot(GetDesktopWindow(), shots + "option_profile_dialog.bmp"));
    }
    Press(dialog, kOk);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kOptionEditProfile, 0, 1)));

    option.Click(kKeyApply);
    EXPECT_TRUE(e2e::WaitUntil([&] {
        return folder.ReadIni("config\\Default0.gmp", "Setting", "ProFileName") == "Arena";
    }));
    EXPECT_EQ(folder.ReadIni("config\\Default0.gmp", "Setting", "GameFile"), game);

    // "44": empty fields; cancel stores nothing.
    option.Click(kKeyNewProfile);
    dialog = option.WaitForDialog(kGameField);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(GetDlgItem(dialog, kNameField)), "");
    EXPECT_EQ(Text(GetDlgItem(dialog, kGameField)), "");
    Press(dialog, kCancel);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(dialog); }));
    option.Click(kKeyApply);
    EXPECT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kOptionApply, 0, 0, 0), 2));
    EXPECT_EQ(folder.ReadIni("config\\Default0.gmp", "Setting", "ProFileName"), "Arena");
    EXPECT_EQ(option.Process().CountDebugText(text::Format(trace::kOptionEditProfile, 1, 1)), 0);
}

}  // namespace
