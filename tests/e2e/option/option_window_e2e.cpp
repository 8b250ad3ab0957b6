// Option's window with a stand-in Monitor: the test owns the shared section
// and a window with Monitor's title that records what Option posts, so every
// answer (1256, 1255, 1257) comes exactly when the test sends it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "common/settings/settings_block.h"
#include "common/settings/shared_section_win.h"
#include "common/text_format.h"
#include "common/trace_points.h"
#include "common/win/scoped_win.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/option/option_driver_win.h"

namespace {

using namespace std::chrono_literals;
using e2e::OptionDriver;

constexpr int kKeyImport = 2, kKeyExport = 3, kKeyProfile1 = 5, kKeyOk = 12, kKeyApply = 13;
constexpr int kKeyPage1 = 25, kKeyEmblem = 29, kKeyReset = 31;
constexpr int kResetWarningOk = 1001;

std::unique_ptr<settings::SettingsBlock> NewBlock() {
    auto block = std::make_unique<settings::SettingsBlock>();
    std::memset(block.get(), 0, sizeof *block);
    settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
    return block;
}

// The window's pixels inside its shape as the screen shows them (0 outside
// it), once they have stayed the same for a quarter of a second: the screen
// follows the window's drawing a little later. The window is kept on top
// meanwhile, above any window another program opens.
std::vector<COLORREF> SteadyPixels(HWND w) {
    using Clock = std::chrono::steady_clock;
    RECT r{};
    GetWindowRect(w, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const win::ScopedGdi<HRGN> shape(CreateRectRgn(0, 0, width, height));
    GetWindowRgn(w, shape.Get());
    const auto read = [&] {
        std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * height);
        const win::ScopedWindowDc screen(nullptr);
        const win::ScopedDc memory(CreateCompatibleDC(screen.Get()));
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        const win::ScopedGdi<HBITMAP> shot(
            CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!shot || bits == nullptr)
            return pixels;
        const win::ScopedSelect use(memory.Get(), shot.Get());
        BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
        GdiFlush();
        std::memcpy(pixels.data(), bits, pixels.size() * sizeof(COLORREF));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (!PtInRegion(shape.Get(), x, y))
                    pixels[static_cast<std::size_t>(y) * width + x] = 0;
            }
        }
        return pixels;
    };
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<COLORREF> last = read();
    auto since = Clock::now();
    e2e::WaitUntil([&] {
        std::vector<COLORREF> now = read();
        if (now != last) {
            last = std::move(now);
            since = Clock::now();
        }
        return Clock::now() - since >= 250ms;
    });
    SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return last;
}

std::unique_ptr<settings::SettingsBlock> SectionBlock() {
    auto block = NewBlock();
    EXPECT_TRUE(e2e::ReadSharedBlock(*block));
    return block;
}

class OptionWithStandInMonitor : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(section_.Create(), settings::SharedSection::CreateResult::Created);
        auto block = NewBlock();
        block->currentProfile = 3;
        settings::CopyField(block->profiles[3].ProFileName, "Published");
        block->profiles[3].MouseSpeed = 13;
        settings::MarkAllChanged(*block);
        ASSERT_TRUE(section_.Publish(*block));
        monitor_ = std::make_unique<e2e::StandInWindow>(e2e::kMonitorTitle);
        // The pointer off the window, so that no control opens hovered.
        SetCursorPos(0, 0);
        ASSERT_TRUE(option_.Start());
    }
    // Applies and waits until Monitor has been told (and Option waits).
    void ApplyAndWaitForMonitor(int applies) {
        option_.Click(kKeyApply);
        ASSERT_TRUE(monitor_->WaitFor(1224, applies));
    }

    e2e::ProgramFolder folder_;
    settings::SharedSection section_;
    std::unique_ptr<e2e::StandInWindow> monitor_;
    OptionDriver option_{folder_};
};

// The start draws the window and its controls in one piece: it must show
// exactly what the controls show when each paints itself.
TEST_F(OptionWithStandInMonitor, TheFirstPaintShowsWhatEveryControlPaints) {
    HWND w = option_.Window();
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::Painted(w); }));
    const std::vector<COLORREF> first = SteadyPixels(w);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::Painted(w); }));
    const std::vector<COLORREF> repainted = SteadyPixels(w);
    ASSERT_EQ(first.size(), repainted.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < first.size(); ++i) differing += first[i] != repainted[i] ? 1 : 0;
    EXPECT_EQ(differing, 0u) << "pixels of the first paint that a repaint changes";
}

TEST_F(OptionWithStandInMonitor, ApplyWaitsForMonitorsAnswerOrItsEnd) {
    // Option shows Monitor's block and hands it back without the old flags.
    ApplyAndWaitForMonitor(1);
    auto published = SectionBlock();
    EXPECT_EQ(published->currentProfile, 3);
    EXPECT_STREQ(published->profiles[3].ProFileName, "Published");
    EXPECT_EQ(settings::ChangeFlag(*published, 0), 0);
    EXPECT_EQ(monitor_->All().back().wParam, 0u);
    EXPECT_EQ(folder_.ReadIni("config.ini", "Setting", "CurrentProfile"), "3");
    EXPECT_EQ(folder_.ReadIni("config\\Default3.gmp", "Setting", "ProFileName"), "Published");

    // Pending until 1256.
    ASSERT_TRUE(e2e::WaitUntil([&] { return !option_.Enabled(kKeyApply); }));
    EXPECT_FALSE(option_.Enabled(kKeyOk));
    EXPECT_FALSE(e2e::WaitUntil([&] { return option_.ApplyReady(); }, 1500ms));
    PostMessageA(option_.Window(), 1256, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return option_.ApplyReady(); }));

    // Monitor gone while pending: the buttons come back by themselves.
    ApplyAndWaitForMonitor(2);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !option_.Enabled(kKeyApply); }));
    monitor_.reset();
    EXPECT_TRUE(e2e::WaitUntil([&] { return option_.ApplyReady(); }, 10s));
}

TEST_F(OptionWithStandInMonitor, ProfileSwitchDiscardsEditsSettingChangeKeepsThem) {
    // 1255: the user's unsaved choice of profile 2 gives way to Monitor's.
    option_.Click(kKeyProfile1 + 1);
    auto block = SectionBlock();
    block->currentProfile = 4;
    ASSERT_TRUE(e2e::WriteSharedBlock(*block));
    PostMessageA(option_.Window(), 1255, 0, 0);
    ApplyAndWaitForMonitor(1);
    EXPECT_EQ(SectionBlock()->currentProfile, 4);
    PostMessageA(option_.Window(), 1256, 0, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return option_.ApplyReady(); }));

    // 1257: the mouse changed profile 4's stage and rate; the user's choice of
    // profile 1 stays, and so does everything else of profile 4.
    option_.Click(kKeyProfile1);
    block = SectionBlock();
    block->profiles[4].CpiStep = 3;
    block->profiles[4].PollingRate = 0;
    block->profiles[4].MouseSpeed = 19;
    ASSERT_TRUE(e2e::WriteSharedBlock(*block));
    PostMessageA(option_.Window(), 1257, 0, 0);
    ApplyAndWaitForMonitor(2);
    block = SectionBlock();
    EXPECT_EQ(block->currentProfile, 0);
    EXPECT_EQ(block->profiles[4].CpiStep, 3);
    EXPECT_EQ(block->profiles[4].PollingRate, 0);
    EXPECT_EQ(block->profiles[4].MouseSpeed, 10);
    EXPECT_EQ(settings::ChangeFlag(*block, settings::kButtonFlagCount + 10), 1)
        << "a new current profile is sent to the mouse";
}

TEST_F(OptionWithStandInMonitor, ResetAsksAndAppliesWithResetFlag) {
    option_.Click(kKeyReset);
    ASSERT_TRUE(option_.Answer(kResetWarningOk));
    ASSERT_TRUE(monitor_->WaitFor(1224, 1));
    EXPECT_EQ(monitor_->All().back().wParam, 1u);
    auto block = SectionBlock();
    EXPECT_EQ(block->currentProfile, 0);
    EXPECT_STREQ(block->profiles[3].ProFileName, "Default4");
    for (int i = 0; i < settings::kChangeFlagCount; ++i)
        ASSERT_EQ(settings::ChangeFlag(*block, i), 1) << i;
}

TEST_F(OptionWithStandInMonitor, KeysEmblemSecondInstanceAndEscape) {
    // A second Option ends at once and leaves the first alone.
    e2e::Program second;
    ASSERT_TRUE(second.Start(folder_.File("Option.exe")));
    EXPECT_EQ(second.WaitExit(20s), 0);
    EXPECT_EQ(e2e::CountWindowsTitled(e2e::kOptionTitle), 1);

    // Enter and the emblem do nothing; the Apply behind them still happens.
    option_.Click(kKeyEmblem);
    option_.Key(VK_RETURN);
    option_.Click(kKeyProfile1 + 2);
    ApplyAndWaitForMonitor(1);
    EXPECT_EQ(monitor_->Count(1224), 1);
    ASSERT_NE(option_.Window(), nullptr) << "Enter must not close the window";
    EXPECT_EQ(SectionBlock()->currentProfile, 2);
    PostMessageA(option_.Window(), 1256, 0, 0);

    // Esc closes without applying.
    option_.Click(kKeyProfile1 + 4);
    option_.Key(VK_ESCAPE);
    EXPECT_TRUE(option_.WaitGone());
    EXPECT_EQ(option_.Process().WaitExit(20s), 0);
    EXPECT_EQ(monitor_->Count(1224), 1);
    EXPECT_EQ(folder_.ReadIni("config.ini", "Setting", "CurrentProfile"), "2");
}

TEST_F(OptionWithStandInMonitor, PagesAndScreenshots) {
    static const char* const kNames[] = {"assign", "lighting", "advanced", "support"};
    for (int page = 0; page < 4; ++page) {
        option_.Click(kKeyPage1 + page);
        ASSERT_TRUE(e2e::WaitUntil([&] { return option_.PageVisible(page); })) << page;
        for (int other = 0; other < 4; ++other) {
            if (other != page) {
                EXPECT_FALSE(option_.PageVisible(other)) << page << other;
            }
        }
        EXPECT_TRUE(option_.Screenshot(std::string("option_page_") + kNames[page]));
    }
}

// A rectangle written into Option's own memory, where a WM_DPICHANGED from
// the system would carry it.
class RemoteRect {
  public:
    RemoteRect(HWND window, const RECT& r) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
        if (process_ != nullptr)
            at_ = VirtualAllocEx(process_, nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE);
        if (at_ != nullptr && !WriteProcessMemory(process_, at_, &r, sizeof r, nullptr))
            at_ = nullptr;
    }
    ~RemoteRect() {
        if (process_ != nullptr)
            CloseHandle(process_);
    }
    LPARAM Get() const { return reinterpret_cast<LPARAM>(at_); }

  private:
    HANDLE process_ = nullptr;
    void* at_ = nullptr;
};

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

TEST_F(OptionWithStandInMonitor, ANewDpiReloadsTheSkinSetAndKeepsUnappliedEdits) {
    ASSERT_EQ(ClientSize(option_.Window()).cx, 860);
    option_.Click(kKeyProfile1 + 1);
    option_.Click(kKeyPage1 + 2);
    ASSERT_TRUE(e2e::WaitUntil([&] { return option_.PageVisible(2); }));

    // Moved to a monitor at 150 %: the 150 % set, at the place suggested.
    const RemoteRect suggested(option_.Window(), RECT{40, 30, 40 + 1290, 30 + 900});
    ASSERT_NE(suggested.Get(), 0);
    SendMessageA(option_.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), suggested.Get());
    EXPECT_EQ(ClientSize(option_.Window()).cx, 1290);
    EXPECT_EQ(ClientSize(option_.Window()).cy, 900);
    RECT at{};
    GetWindowRect(option_.Window(), &at);
    EXPECT_EQ(at.left, 40);
    EXPECT_EQ(at.top, 30);
    ASSERT_TRUE(e2e::WaitUntil([&] { return option_.PageVisible(2); }));
    EXPECT_FALSE(option_.PageVisible(0));
    EXPECT_TRUE(option_.Screenshot("option_dpi_changed_150"));

    // And back, with no rectangle: the edit made before still applies.
    SendMessageA(option_.Window(), WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    EXPECT_EQ(ClientSize(option_.Window()).cx, 860);
    ApplyAndWaitForMonitor(1);
    EXPECT_EQ(SectionBlock()->currentProfile, 1);
}

// Without Monitor: the files only, and no 1224 to a window of Monitor's title.
class OptionAlone : public ::testing::Test {
  protected:
    e2e::ProgramFolder folder_;
    OptionDriver option_{folder_};
};

TEST_F(OptionAlone, ApplySavesTheFilesAndTellsNoWindowWithoutSection) {
    e2e::StandInWindow monitor(e2e::kMonitorTitle);
    ASSERT_TRUE(option_.Start());
    option_.Click(kKeyProfile1 + 3);
    option_.Click(kKeyApply);
    ASSERT_TRUE(option_.Process().WaitForDebugText(text::Format(trace::kOptionApply, 0, 0, 0)));
    EXPECT_EQ(folder_.ReadIni("config.ini", "Setting", "CurrentProfile"), "3");
    // The buttons come back right after that text, without an answer.
    EXPECT_TRUE(e2e::WaitUntil([&] { return option_.ApplyReady(); }));
    EXPECT_EQ(monitor.Count(1224), 0);
}

TEST_F(OptionAlone, ImportAndExportThroughTheFileDialogs) {
    ASSERT_TRUE(option_.Start());
    option_.Click(kKeyProfile1);
    option_.Click(kKeyApply);  // writes the five profile files
    ASSERT_TRUE(e2e::WaitUntil([&] { return folder_.Exists("config\\Default0.gmp"); }));

    // Export, then export profile 2 over the same file after the prompt.
    const std::string exported = folder_.File("exported.gmp");
    option_.Click(kKeyExport);
    ASSERT_TRUE(option_.ChooseFile(exported));
    ASSERT_TRUE(e2e::WaitUntil([&] { return folder_.Exists("exported.gmp"); }));
    EXPECT_EQ(folder_.ReadIni("exported.gmp", "Setting", "ProFileName"), "Default1");
    option_.Click(kKeyProfile1 + 1);
    option_.Click(kKeyExport);
    ASSERT_TRUE(option_.ChooseFile(exported, true));
    ASSERT_TRUE(option_.Answer(IDYES)) << "the overwrite prompt";
    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return folder_.ReadIni("exported.gmp", "Setting", "ProFileName") == "Default2"; }));

    // Importing the profile's own file under another letter case reloads it.
    const std::string own = folder_.ReadText("config\\Default1.gmp");
    option_.Click(kKeyImport);
    ASSERT_TRUE(option_.ChooseFile(folder_.File("CONFIG\\DEFAULT1.GMP")));
    EXPECT_TRUE(option_.Process().WaitForDebugText(text::Format(trace::kOptionImport, 2)));
    EXPECT_EQ(folder_.ReadText("config\\Default1.gmp"), own);

    // A damaged file becomes a valid profile.
    {
        FILE* f = std::fopen(folder_.File("damaged.gmp").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(
            "[Setting]\r\nProFileName=Damaged\r\nPollingRate=77\r\nCpiStep=x\r\n"
            "MacroKeyInfo3=FFFF\r\n\x01\x02garbage\r\n",
            f);
        std::fclose(f);
    }
    option_.Click(kKeyImport);
    ASSERT_TRUE(option_.ChooseFile(folder_.File("damaged.gmp")));
    EXPECT_TRUE(option_.Process().WaitForDebugText(text::Format(trace::kOptionImport, 3)));
    EXPECT_EQ(folder_.ReadIni("config\\Default1.gmp", "Setting", "ProFileName"), "Damaged");
    EXPECT_EQ(folder_.ReadIni("config\\Default1.gmp", "Setting", "PollingRate"), "2");
    EXPECT_EQ(folder_.ReadIni("config\\Default1.gmp", "Setting", "CpiStep"), "0");
}

}  // namespace
