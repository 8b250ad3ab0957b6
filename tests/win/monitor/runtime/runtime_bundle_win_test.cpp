// The runtime with all real adapters behind a real window: a held key
// combination repeats from the window's own timer 102 and is let go when the
// mouse is removed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/protocol.h"
#include "monitor/runtime/win/runtime_bundle_win.h"
#include "tests/win/monitor/runtime/input_hook.h"

namespace runtime::test {
namespace {

bool LetterKey(std::uint8_t code, std::uint8_t& vk) {
    if (code < 4 || code > 29)
        return false;
    vk = static_cast<std::uint8_t>('A' + code - 4);
    return true;
}

class WindowHost : public MonitorHost {
  public:
    WindowHost() { settings::FillDefaults(block, settings::DefaultsFor::Monitor); }
    const settings::SettingsBlock& Block() override { return block; }
    void ChangeBlock(const std::function<void(settings::SettingsBlock&)>&) override {
        ADD_FAILURE();
    }
    bool Connected() override { return true; }
    void ConnectionEvent(bool arrived) override { events.push_back(arrived ? 1 : 0); }
    void PublishBlock() override { ADD_FAILURE(); }
    bool PostUploadJob(protocol::UploadJob) override {
        ADD_FAILURE();
        return false;
    }
    void WriteRegistryAndApply() override { ADD_FAILURE(); }
    bool PostToOption(unsigned) override { return false; }
    void PostOpenOption() override { ADD_FAILURE(); }
    bool PostPlayMacro() override {
        ADD_FAILURE();
        return false;
    }
    void Launch(const char*) override { ADD_FAILURE(); }
    settings::SettingsBlock block;
    std::vector<int> events;
};

RuntimeBundleWin* g_bundle = nullptr;

LRESULT CALLBACK TimerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && g_bundle != nullptr) {
        if (wParam == protocol::kTimerKeyRepeat)
            g_bundle->Runtime().OnKeyRepeatTimer();
        if (wParam == protocol::kTimerVolumeRepeat)
            g_bundle->Runtime().OnVolumeTimer();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(RuntimeBundleWinTest, HeldCombinationRepeatsFromTheWindowTimerUntilRemoval) {
    InputHook hook;
    ASSERT_TRUE(hook.Installed());
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TimerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RuntimeBundleTest";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("RuntimeBundleTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    WindowHost host;
    auto& record = host.block.profiles[0].MacroKeyInfo[4];
    record.actionCode = settings::action::kKeyCombination;
    record.events[0] = {6, settings::modifier::kAlt, 0};  // Alt+C
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    // No window thread to defer to: the display program's work is done at once.
    RuntimeBundleWin bundle(window, std::string(dir) + "runtime_bundle_test.ini", host, &LetterKey,
                            [] { return false; });
    g_bundle = &bundle;

    bundle.Runtime().OnDeviceEvent(0x5000, 5);
    // Held until three repeats (up/down pairs of C) have come: the first after
    // a second, then every 100 ms. The wait dispatches the window's timers.
    ASSERT_TRUE(e2e::WaitUntil([&] { return hook.Events().size() >= 2 + 3 * 2; }))
        << hook.Events().size() << " events";
    bundle.Runtime().OnConnectionMessage(0);
    // Nothing may repeat after the removal: four repeat periods to show it.
    e2e::ObserveFor(std::chrono::milliseconds(400));
    g_bundle = nullptr;
    DestroyWindow(window);

    const auto ev = hook.Events();
    ASSERT_GE(ev.size(), 6u);
    EXPECT_EQ(ev[0].code, static_cast<DWORD>(VK_MENU));
    EXPECT_EQ(ev[1].code, static_cast<DWORD>('C'));
    // Repeats: up/down pairs of C, the first one about a second after the press.
    int pairs = 0;
    std::size_t i = 2;
    for (; i + 1 < ev.size() && ev[i].code == 'C' && ev[i + 1].code == 'C'; i += 2) {
        EXPECT_NE(ev[i].flags & LLKHF_UP, 0u);
        EXPECT_EQ(ev[i + 1].flags & LLKHF_UP, 0u);
        ++pairs;
    }
    EXPECT_GE(pairs, 3);
    EXPECT_GE(ev[2].us - ev[1].us, 900000);
    // Never faster than every 100 ms; averaged over the repeats, so that one
    // late hook call on a loaded machine does not count as a short gap.
    EXPECT_GE((ev[i - 1].us - ev[3].us) / (pairs - 1), 80000);
    // The removal let go of C and Alt, and nothing came after.
    ASSERT_EQ(ev.size(), i + 2);
    EXPECT_EQ(ev[i].code, static_cast<DWORD>('C'));
    EXPECT_NE(ev[i].flags & LLKHF_UP, 0u);
    EXPECT_EQ(ev[i + 1].code, static_cast<DWORD>(VK_MENU));
    EXPECT_NE(ev[i + 1].flags & LLKHF_UP, 0u);
    EXPECT_EQ(host.events, std::vector<int>{0});
}

}  // namespace
}  // namespace runtime::test
