// What the user is doing in a dialog of Option survives the mouse switching
// profile (or the display changing scale) while the dialog is open. A
// stand-in Monitor owns the shared section and sends the switch (1255) at
// the moment the test chooses: sent rather than posted, it has been handled
// inside the dialog's loop when the call returns.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/settings/settings_block.h"
#include "common/settings/shared_section_win.h"
#include "common/text_format.h"
#include "common/trace_points.h"
#include "option/macro_file_system_win.h"
#include "option/model/dialogs/macro_store.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/option/option_driver_win.h"

namespace {

using namespace std::chrono_literals;
using e2e::OptionDriver;
using e2e::Painted;

constexpr int kKeyImport = 2, kKeyExport = 3;
constexpr int kFirstAssignButtonId = 30001;
constexpr const char* kManagerTitle = " Gaming Mouse Macro Manager";
constexpr int kManagerOk = 3001, kManagerCancel = 3002, kManagerNew = 3004, kMacroList = 4096;
// Entry 2 is not the profile's only left click: its menu opens the manager.
constexpr int kEntry = 2;
const std::string kManagerRan = text::Format(trace::kButtonCommandOutcome, 1099u, 2, 4);

class EditsAcrossASwitch : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(section_.Create(), settings::SharedSection::CreateResult::Created);
        auto block = std::make_unique<settings::SettingsBlock>();
        std::memset(block.get(), 0, sizeof *block);
        settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
        block->currentProfile = 3;
        for (int p = 0; p < settings::kProfileCount; ++p)
            settings::CopyField(block->profiles[p].ProFileName,
                                ("Mouse " + std::to_string(p)).c_str());
        ASSERT_TRUE(section_.Publish(*block));
        monitor_ = std::make_unique<e2e::StandInWindow>(e2e::kMonitorTitle);
        SetCursorPos(0, 0);
        ASSERT_TRUE(option_.Start());
        ASSERT_TRUE(e2e::WaitUntil([&] { return option_.ApplyReady() && Painted(Page()); }));
    }

    HWND Page() const { return GetDlgItem(option_.Window(), 2000); }
    SIZE ClientSize() const {
        RECT r{};
        GetClientRect(option_.Window(), &r);
        return SIZE{r.right, r.bottom};
    }

    // The mouse switched to profile `p`; handled when this returns.
    void SwitchTo(int p) const {
        auto block = std::make_unique<settings::SettingsBlock>();
        ASSERT_TRUE(e2e::ReadSharedBlock(*block));
        block->currentProfile = p;
        ASSERT_TRUE(e2e::WriteSharedBlock(*block));
        ASSERT_NE(SendMessageTimeoutA(option_.Window(), 1255, 0, 0, SMTO_NORMAL, 10000, nullptr),
                  0);
    }

    // Presses `key`, lets the mouse switch to profile `p` while the file
    // dialog is open, then chooses `file` and waits until Option says `done`.
    void ChooseFileAcrossASwitch(int key, int p, const std::string& file, const std::string& done) {
        option_.Click(key);
        ASSERT_NE(option_.WaitForDialog(), nullptr);
        SwitchTo(p);
        ASSERT_TRUE(option_.ChooseFile(folder_.File(file)));
        ASSERT_TRUE(option_.Process().WaitForDebugText(done));
    }

    std::vector<HWND> Menus() const {
        DWORD pid = 0;
        GetWindowThreadProcessId(option_.Window(), &pid);
        return e2e::VisibleWindowsOf(pid, "#32768");
    }
    bool WaitForMenus(std::size_t count) const {
        return e2e::WaitUntil([&] { return Menus().size() == count; });
    }
    void MenuKey(UINT key) const {
        const auto menus = Menus();
        ASSERT_FALSE(menus.empty());
        PostMessageA(menus.front(), WM_KEYDOWN, key, 1);
        PostMessageA(menus.front(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    }

    // The button's menu, its macro submenu, its first item.
    HWND OpenMacroManager() {
        HWND button = GetDlgItem(Page(), kFirstAssignButtonId + kEntry);
        EXPECT_NE(button, nullptr);
        PostMessageA(button, BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitForMenus(1)) << [&] {
            std::string all;
            for (const std::string& t : option_.Process().DebugTexts()) all += t;
            return all;
        }();
        MenuKey(VK_DOWN);
        MenuKey(VK_RIGHT);
        EXPECT_TRUE(WaitForMenus(2));
        MenuKey(VK_RETURN);
        HWND manager = nullptr;
        e2e::WaitUntil([&] {
            manager = FindWindowA(nullptr, kManagerTitle);
            return manager != nullptr && Painted(manager);
        });
        return manager;
    }

    // New, the name typed, Enter: as the user makes a macro. `keys` are
    // letter keys, which give the name in lower case.
    void MakeMacro(HWND manager, const std::string& keys) const {
        HWND list = GetDlgItem(manager, kMacroList);
        PostMessageA(GetDlgItem(manager, kManagerNew), BM_CLICK, 0, 0);
        HWND edit = nullptr;
        ASSERT_TRUE(e2e::WaitUntil([&] {
            edit = FindWindowExA(list, nullptr, "Edit", nullptr);
            return edit != nullptr && option_.Focus() == edit;
        }));
        for (char c : keys) option_.Type(static_cast<WORD>(c));
        option_.Type(VK_RETURN);
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(edit); }));
    }

    void CloseManager(HWND manager, int button, int closed) {
        PostMessageA(GetDlgItem(manager, button), BM_CLICK, 0, 0);
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(manager); }));
        ASSERT_TRUE(option_.Process().WaitForDebugText(kManagerRan, closed));
    }

    // The macros config\sequence.dat holds.
    std::vector<std::string> Stored() const {
        option::MacroFileSystem files;
        option::MacroFileStore store(files.Files(), folder_.Path());
        store.Load();
        std::vector<std::string> names;
        for (int i = 0; i < store.Count(); ++i)
            names.push_back(option::NameOf(store.MacroAt(i)->name, option::kMacroNameSize));
        return names;
    }

    e2e::ProgramFolder folder_;
    settings::SharedSection section_;
    std::unique_ptr<e2e::StandInWindow> monitor_;
    OptionDriver option_{folder_};
};

// A macro made in the manager reaches sequence.dat on OK only, however the
// mouse switches profile meanwhile; a new display scale waits for the
// manager to close, and the page built for it afterwards works.
TEST_F(EditsAcrossASwitch, TheMacroManagerKeepsItsSessionAndANewScaleWaits) {
    HWND manager = OpenMacroManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_NO_FATAL_FAILURE(MakeMacro(manager, "NEW"));
    SwitchTo(1);
    EXPECT_EQ(Stored(), std::vector<std::string>{}) << "saved while the manager is open";

    ASSERT_EQ(ClientSize().cx, 860);
    ASSERT_NE(SendMessageTimeoutA(option_.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), 0,
                                  SMTO_NORMAL, 10000, nullptr),
              0);
    EXPECT_EQ(ClientSize().cx, 860) << "the pages were rebuilt under the open manager";
    ASSERT_NO_FATAL_FAILURE(CloseManager(manager, kManagerCancel, 1));
    EXPECT_EQ(Stored(), std::vector<std::string>{});
    EXPECT_TRUE(e2e::WaitUntil([&] {
        return ClientSize().cx == 1290 && Painted(Page()) &&
               GetDlgItem(Page(), kFirstAssignButtonId + kEntry) != nullptr;
    }));

    // On the page of the new scale: the same, ended with OK.
    manager = OpenMacroManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_NO_FATAL_FAILURE(MakeMacro(manager, "NEW"));
    SwitchTo(3);
    ASSERT_NO_FATAL_FAILURE(CloseManager(manager, kManagerOk, 2));
    EXPECT_EQ(Stored(), std::vector<std::string>{"new"});
    EXPECT_FALSE(option_.Process().Exited());
}

// Import and export act on the profile shown when the user chose them, even
// when the mouse switches profile while the file dialog is open.
TEST_F(EditsAcrossASwitch, ImportAndExportKeepTheirProfileAcrossASwitch) {
    {
        FILE* f = std::fopen(folder_.File("chosen.gmp").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("[Setting]\r\nProFileName=Chosen\r\n", f);
        std::fclose(f);
    }
    ASSERT_NO_FATAL_FAILURE(ChooseFileAcrossASwitch(kKeyImport, 1, "chosen.gmp",
                                                    text::Format(trace::kOptionImport, 3)));
    EXPECT_EQ(folder_.ReadIni("config\\Default3.gmp", "Setting", "ProFileName"), "Chosen");
    EXPECT_FALSE(folder_.Exists("config\\Default1.gmp"));

    // Profile 1 is shown now; the mouse moves on to 4 during the export.
    ASSERT_NO_FATAL_FAILURE(
        ChooseFileAcrossASwitch(kKeyExport, 4, "out.gmp", text::Format(trace::kOptionExport, 1)));
    EXPECT_EQ(folder_.ReadIni("out.gmp", "Setting", "ProFileName"), "Mouse 1");
}

}  // namespace
