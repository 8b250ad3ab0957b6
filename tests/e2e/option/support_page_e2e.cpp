// The support page's diagnostics report, as a user with a missing mouse
// saves it: no Monitor runs, so Monitor.exe /report writes it and ends. Its
// forget button has the device library forget the remembered channel. Its
// language button shows the language config.ini names and writes a new one.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <utility>

#include "common/text_format.h"
#include "common/trace_points.h"
#include "common/win/language_module_win.h"
#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "lan/string_ids.h"
#include "option/pages/support_page_controls.h"
#include "tests/e2e/option/option_driver_win.h"

namespace {

constexpr int kKeyPage1 = 25;
constexpr int kSupportPage = 3;
constexpr int kReportButtonId = 1002;
constexpr int kForgetButtonId = 1003;
constexpr const char* kMonitorTitle = "Professional Gaming Optical Mouse Monitor";

TEST(SupportPage, SavesTheDiagnosticsReportWhereTheUserChoosesWithoutMonitor) {
    e2e::ProgramFolder folder;
    e2e::OptionDriver option(folder);
    ASSERT_TRUE(option.Start());
    option.Click(kKeyPage1 + kSupportPage);
    ASSERT_TRUE(e2e::WaitUntil([&] { return option.PageVisible(kSupportPage); }));
    HWND page = GetDlgItem(option.Window(), 2000 + kSupportPage);
    PostMessageA(GetDlgItem(page, kReportButtonId), BM_CLICK, 0, 0);

    ASSERT_TRUE(option.ChooseFile(folder.File("saved report.txt")));
    ASSERT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kSupportReportSaved, 1)));
    const std::string report = folder.ReadText("saved report.txt");
    EXPECT_NE(report.find("== Program =="), std::string::npos) << report;
    EXPECT_NE(report.find("Monitor state: not running"), std::string::npos) << report;
    // The user is told where it went.
    ASSERT_TRUE(option.Answer(IDOK));
    EXPECT_EQ(FindWindowA(nullptr, kMonitorTitle), nullptr) << "a Monitor was left running";

    // A channel the library remembered, and a key of an older build.
    const std::string channels = folder.File("korrin-channels.ini");
    ASSERT_TRUE(
        WritePrivateProfileStringA("04D9_AD50", "CommandUsagePage", "65280", channels.c_str()));
    ASSERT_TRUE(
        WritePrivateProfileStringA("04D9_AD50", "CommandPath", "\\\\?\\hid#old", channels.c_str()));
    PostMessageA(GetDlgItem(page, kForgetButtonId), BM_CLICK, 0, 0);
    ASSERT_TRUE(
        option.Process().WaitForDebugText(text::Format(trace::kSupportChannelsForgotten, 1)));
    EXPECT_EQ(folder.ReadIni("korrin-channels.ini", "04D9_AD50", "CommandUsagePage"), "<missing>");
    EXPECT_EQ(folder.ReadIni("korrin-channels.ini", "04D9_AD50", "CommandPath"), "<missing>");
    ASSERT_TRUE(option.Answer(IDOK));
}

// What a screen reader says a control is called, UTF-8.
std::string AccessibleName(HWND control) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr)
        return "<no accessible object>";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const bool named = object->get_accName(self, &name) == S_OK && name != nullptr;
    object->Release();
    std::string text = named ? win::Narrow(name, CP_UTF8) : "<no name>";
    SysFreeString(name);
    return text;
}

TEST(SupportPage, ShowsTheLanguageConfigIniNamesAndWritesTheOneChosen) {
    // Accessible objects of another process come through COM.
    struct Com {
        const bool on = SUCCEEDED(CoInitialize(nullptr));
        ~Com() {
            if (on)
                CoUninitialize();
        }
    } com;
    e2e::ProgramFolder folder;
    const std::string config = folder.File("config.ini");
    // What each table of the folder's own language module says.
    win::ScopedModule module(LoadLibraryA(folder.File("lan.dll").c_str()));
    ASSERT_NE(module.Get(), nullptr);
    const std::string english = win::LoadLanString(module.Get(), 0x0409, lan::kLanguageChoice);
    const std::string pseudo = win::LoadLanString(module.Get(), 0x0501, lan::kLanguageChoice);
    ASSERT_NE(english, "");
    ASSERT_NE(pseudo, english);

    const std::pair<const char*, std::string> runs[] = {{"qps-ploc", pseudo}, {"xx-YY", english}};
    for (const auto& [setting, shown] : runs) {
        ASSERT_TRUE(WritePrivateProfileStringA("Setting", "Language", setting, config.c_str()));
        e2e::OptionDriver option(folder);
        ASSERT_TRUE(option.Start());
        option.Click(kKeyPage1 + kSupportPage);
        ASSERT_TRUE(e2e::WaitUntil([&] { return option.PageVisible(kSupportPage); }));
        HWND page = GetDlgItem(option.Window(), 2000 + kSupportPage);
        HWND button = GetDlgItem(page, option::kLanguageButtonId);
        EXPECT_EQ(AccessibleName(button), shown) << setting;
        if (setting != runs[1].first)
            continue;
        // The menu: Follow Windows, then the languages from English on.
        PostMessageA(button, BM_CLICK, 0, 0);
        DWORD pid = 0;
        GetWindowThreadProcessId(option.Window(), &pid);
        HWND menu = nullptr;
        ASSERT_TRUE(e2e::WaitUntil([&] {
            const auto menus = e2e::VisibleWindowsOf(pid, "#32768");
            menu = menus.empty() ? nullptr : menus.front();
            return menu != nullptr && e2e::Painted(menu);
        }));
        for (UINT key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
            PostMessageA(menu, WM_KEYDOWN, key, 1);
            PostMessageA(menu, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        }
        ASSERT_TRUE(
            option.Process().WaitForDebugText(text::Format(trace::kSupportLanguageChosen, 1)));
        EXPECT_EQ(folder.ReadIni("config.ini", "Setting", "Language"), "de-DE");
        // The user is told the new language shows at the next start.
        ASSERT_TRUE(option.Answer(IDOK));
    }
}

}  // namespace
