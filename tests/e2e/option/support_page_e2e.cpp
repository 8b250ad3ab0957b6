// The support page's diagnostics report, as a user with a missing mouse
// saves it: no Monitor runs, so Monitor.exe /report writes it and ends. Its
// forget button has the device library forget the remembered channel. Its
// language button writes the language the user picks to config.ini, and the
// open window shows it at once; every control is named in the language chosen.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <map>
#include <set>
#include <span>
#include <string>
#include <utility>

#include "common/text_format.h"
#include "common/trace_points.h"
#include "common/win/language_module_win.h"
#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "lan/string_ids.h"
#include "option/main_window_controls.h"
#include "option/pages/advanced_page_controls.h"
#include "option/pages/button_page_controls.h"
#include "option/pages/lighting_page_controls.h"
#include "option/pages/support_page_controls.h"
#include "option/skin/control_table.h"
#include "option/skin/keyboard_nav_win.h"
#include "tests/e2e/option/option_driver_win.h"

namespace {

constexpr int kKeyProfile1 = 5;
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

// What a screen reader hears of each control Tab reaches on the main window
// and on each of its pages, by place: (page, id), page -1 for the window's
// own. The support page shows last.
using Names = std::map<std::pair<int, int>, std::string>;

void AddNames(HWND parent, int page, std::span<const skin::ControlRow> table, Names& names) {
    for (int id : skin::TabWalk(table)) {
        HWND control = id >= 0 ? GetDlgItem(parent, id) : nullptr;
        if (control != nullptr && skin::TakesTabStop(control))
            names[{page, id}] = AccessibleName(control);
    }
}

Names NamesOfTheMainWindow(const e2e::OptionDriver& option, bool everyPage) {
    static constexpr std::span<const skin::ControlRow> kPages[] = {
        option::button_page::kControls, option::lighting_page::kControls,
        option::advanced_page::kControls, option::support_page::kControls};
    Names names;
    AddNames(option.Window(), -1, option::main_window::kControls, names);
    for (int page = everyPage ? 0 : kSupportPage; page <= kSupportPage; ++page) {
        option.Click(kKeyPage1 + page);
        EXPECT_TRUE(e2e::WaitUntil([&] { return option.PageVisible(page); })) << page;
        AddNames(GetDlgItem(option.Window(), 2000 + page), page,
                 kPages[static_cast<std::size_t>(page)], names);
    }
    return names;
}

// The runs of Latin letters in `name` other than the product, system and
// unit names every table keeps as they are.
std::string LatinWordsOf(const std::string& name) {
    static const std::set<std::string> kKept = {"CPI", "DPI",     "LED",  "USB", "Hz",  "ms",
                                                "OK",  "Windows", "Ctrl", "Alt", "Win", "Shift",
                                                "X",   "Y",       "R",    "G",   "B",   "gmp"};
    std::string words;
    std::string run;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        const char c = i < name.size() ? name[i] : ' ';
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            run += c;
            continue;
        }
        if (!run.empty() && kKept.count(run) == 0)
            words += run + ' ';
        run.clear();
    }
    return words;
}

// Every control is named in the language config.ini chooses (Japanese) and in
// Windows' (English) without it; a language picked on the support page
// renames the open window at once.
TEST(SupportPage, NamesEveryControlInTheChosenLanguageAndFollowsANewChoiceAtOnce) {
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
    // What the tables of the folder's own language module say.
    win::ScopedModule module(LoadLibraryA(folder.File("lan.dll").c_str()));
    ASSERT_NE(module.Get(), nullptr);
    const auto choice = [&](LANGID language) {
        return win::LoadLanString(module.Get(), language, lan::kLanguageChoice);
    };
    ASSERT_NE(choice(0x0411), choice(0x0409));

    ASSERT_TRUE(WritePrivateProfileStringA("Setting", "Language", "ja-JP", config.c_str()));
    Names japanese;
    {
        e2e::OptionDriver option(folder);
        ASSERT_TRUE(option.Start());
        japanese = NamesOfTheMainWindow(option, true);
    }
    ASSERT_FALSE(japanese.empty());
    for (const auto& [place, name] : japanese) {
        EXPECT_NE(name, "") << "page " << place.first << " id " << place.second;
        EXPECT_EQ(LatinWordsOf(name), "")
            << "page " << place.first << " id " << place.second << ": " << name;
    }
    EXPECT_EQ(japanese.at({kSupportPage, option::kLanguageButtonId}), choice(0x0411));

    ASSERT_TRUE(WritePrivateProfileStringA("Setting", "Language", nullptr, config.c_str()));
    e2e::OptionDriver option(folder);
    ASSERT_TRUE(option.Start());
    const Names english = NamesOfTheMainWindow(option, true);
    ASSERT_EQ(english.size(), japanese.size());
    for (const auto& [place, name] : english) {
        EXPECT_NE(name, "") << "page " << place.first << " id " << place.second;
        EXPECT_NE(name, japanese[place]) << "page " << place.first << " id " << place.second;
    }
    EXPECT_EQ(english.at({kSupportPage, option::kLanguageButtonId}), choice(0x0409));

    // An edit not yet applied (another profile chosen) outlasts the switch.
    option.Click(kKeyProfile1 + 1);
    ASSERT_TRUE(e2e::WaitUntil([&] { return option.ApplyReady(); }));
    // The menu: Follow Windows, then the languages from English on.
    HWND page = GetDlgItem(option.Window(), 2000 + kSupportPage);
    PostMessageA(GetDlgItem(page, option::kLanguageButtonId), BM_CLICK, 0, 0);
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
    ASSERT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kSupportLanguageChosen, 1)));
    EXPECT_EQ(folder.ReadIni("config.ini", "Setting", "Language"), "de-DE");
    // The window is German without a new start; the user is told so.
    ASSERT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kLanguageShown, 1)));
    ASSERT_TRUE(option.Answer(IDOK));
    EXPECT_TRUE(option.ApplyReady()) << "the unapplied edit was lost";
    const Names german = NamesOfTheMainWindow(option, false);
    EXPECT_EQ(german.at({kSupportPage, option::kLanguageButtonId}), choice(0x0407));
    for (const auto& [place, name] : german) {
        EXPECT_NE(name, "") << "page " << place.first << " id " << place.second;
        EXPECT_NE(name, english.at(place)) << "page " << place.first << " id " << place.second;
    }
}

}  // namespace
