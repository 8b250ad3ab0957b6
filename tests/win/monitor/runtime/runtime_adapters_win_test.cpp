// The window, registry, process and INI adapters against the real system.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "common/protocol.h"
#include "monitor/runtime/win/game_watch_win.h"
#include "monitor/runtime/win/media_players_win.h"
#include "monitor/runtime/win/osd_notices_win.h"
#include "monitor/runtime/win/runtime_input_win.h"
#include "monitor/runtime/win/tilt_scroll_win.h"
#include "tests/e2e/harness/wait_until_win.h"

namespace runtime::test {
namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Windows whose procedure records the messages it is sent or posted.
struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Received> g_received;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND || msg == WM_HSCROLL || msg == protocol::kMsgOsdNotice ||
        msg == protocol::kMsgDeviceArrival) {
        g_received.push_back({msg, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Register(const char* className) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
}

// Dispatches this thread's messages until `count` have been recorded. The
// windows are this thread's, so everything posted to them is queued by now and
// is dispatched in one go: one message too many would be recorded as well.
bool ReceivedAtLeast(std::size_t count) {
    return e2e::WaitUntil([count] { return g_received.size() >= count; });
}

TEST(GameWatchWinTest, ProcessSnapshotNamesThisProgram) {
    std::string name;
    ASSERT_TRUE(ProcessExeName(GetCurrentProcessId(), name));
    EXPECT_EQ(Lower(name), "runtime_win_test.exe");
    EXPECT_FALSE(ProcessExeName(0xFFFFFFF0u, name));
}

TEST(MediaHostWinTest, ReadsNeverCreateKeys) {
    MediaHostWin host(nullptr);
    const RegistryPath missing{RegistryRoot::CurrentUser, "Software\\MouseRuntimeTest\\Missing"};
    EXPECT_FALSE(host.ReadRegistryString(missing, nullptr).has_value());
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, missing.subkey.c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    const RegistryPath machine =
        ParseRegistryPath("SOFTWARE\\Classes\\NoSuchPlayer.File\\shell\\open\\command");
    EXPECT_FALSE(host.ReadRegistryString(machine, nullptr).has_value());
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, machine.subkey.c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
}

TEST(MediaHostWinTest, ReadsDefaultAndNamedValues) {
    const char* subkey = "Software\\MouseRuntimeTest\\Player";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const char def[] = "\"C:\\Winamp\\winamp.exe\" \"%1\"";
    const char path[] = "%SystemRoot%\\player.exe";
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(def), sizeof def);
    RegSetValueExA(key, "path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), sizeof path);
    RegCloseKey(key);

    MediaHostWin host(nullptr);
    const RegistryPath p = ParseRegistryPath(std::string("HKEY_CURRENT_USER\\") + subkey);
    EXPECT_EQ(host.ReadRegistryString(p, nullptr).value_or(""), def);
    const std::string named = host.ReadRegistryString(p, "path").value_or("");
    EXPECT_EQ(named, path);
    const std::string expanded = host.ExpandEnvironment(named);
    EXPECT_EQ(expanded.find('%'), std::string::npos);
    EXPECT_NE(Lower(expanded).find("player.exe"), std::string::npos);
    RegDeleteKeyA(HKEY_CURRENT_USER, subkey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\MouseRuntimeTest");
}

TEST(MediaHostWinTest, WinampWindowReceivesAlternatingPlayPause) {
    Register("Winamp v1.x");
    HWND winamp = CreateWindowA("Winamp v1.x", "Winamp", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(winamp, nullptr);
    g_received.clear();
    MediaHostWin host(nullptr);
    ClockWin clock;
    MediaPlayers players(host, clock);
    players.Transport(3, MediaCommand::PlayPause);
    players.Transport(3, MediaCommand::PlayPause);
    players.Transport(3, MediaCommand::Stop);
    DestroyWindow(winamp);
    ASSERT_EQ(g_received.size(), 3u);
    EXPECT_EQ(g_received[0].wParam, 40045u);
    EXPECT_EQ(g_received[1].wParam, 40046u);
    EXPECT_EQ(g_received[2].wParam, 40047u);
}

TEST(OsdChannelWinTest, NoticesReachTheDisplayWindowAndConfigIni) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string ini = std::string(dir) + "runtime_osd_test.ini";
    DeleteFileA(ini.c_str());
    OsdChannelWin channel(ini);
    OsdNotices notices(channel);
    OsdOptions options;
    options.showProfile = options.showMacro = options.showCpi = 1;
    notices.SetOptions(options);

    notices.Profile(2);  // no display window: dropped, nothing fails
    settings::ProfileRecord profile{};
    profile.CpiStep = 1;
    profile.CpiLevel_X[1] = 8;
    notices.Cpi(profile);
    char text[64] = {};
    GetPrivateProfileStringA("OSDData", "Message", "", text, sizeof text, ini.c_str());
    EXPECT_STREQ(text, "CPI: 720");

    Register("OsdTestWindow");
    HWND osd = CreateWindowA("OsdTestWindow", protocol::kOsdTitle, WS_OVERLAPPED, 0, 0, 50, 50,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(osd, nullptr);
    g_received.clear();
    notices.Profile(2);
    settings::ButtonAssignment macro{};
    macro.actionCode = settings::action::kMacro;
    settings::CopyField(macro.macroName, "Reload");
    notices.Macro(14, macro);
    EXPECT_TRUE(ReceivedAtLeast(2));
    DestroyWindow(osd);
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[0].message, protocol::kMsgOsdNotice);
    EXPECT_EQ(g_received[0].wParam, 40u);
    EXPECT_EQ(g_received[0].lParam, 2 * 65536);
    EXPECT_EQ(g_received[1].wParam, 70u);
    EXPECT_EQ(GetPrivateProfileIntA("MacroOSD", "Number", -1, ini.c_str()), 4);
    GetPrivateProfileStringA("MacroOSD", "MacroName", "", text, sizeof text, ini.c_str());
    EXPECT_STREQ(text, "Reload");
    DeleteFileA(ini.c_str());
}

TEST(TiltWinTest, DocumentWindowScrollsThroughItsSiblingScrollBar) {
    Register("TiltTestFrame");
    Register("_WwG");
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND frame = CreateWindowExA(WS_EX_TOPMOST, "TiltTestFrame", "tilt", WS_POPUP | WS_VISIBLE, 100,
                                 100, 400, 300, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(frame, nullptr);
    HWND view = CreateWindowA("_WwG", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 270, frame, nullptr,
                              instance, nullptr);
    HWND bar = CreateWindowA("SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 270, 380, 20,
                             frame, nullptr, instance, nullptr);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(bar, nullptr);
    SetForegroundWindow(frame);
    SetCursorPos(300, 200);
    // The frame is shown and the pointer is over its view.
    EXPECT_TRUE(e2e::WaitUntil([view] {
        POINT now;
        return GetCursorPos(&now) && now.x == 300 && now.y == 200 && WindowFromPoint(now) == view;
    }));

    WindowSystemWin windows;
    InputSinkWin input;
    TiltScroller tilt(windows, input);
    ASSERT_EQ(windows.WindowFromPoint({300, 200}), reinterpret_cast<WindowHandle>(view));
    g_received.clear();
    tilt.ScrollNotch(true, 3);
    EXPECT_TRUE(ReceivedAtLeast(3));
    DestroyWindow(frame);
    ASSERT_EQ(g_received.size(), 3u);
    for (const Received& r : g_received) {
        EXPECT_EQ(r.message, static_cast<UINT>(WM_HSCROLL));
        EXPECT_EQ(r.wParam, static_cast<WPARAM>(SB_LINERIGHT));
        EXPECT_EQ(r.lParam, reinterpret_cast<LPARAM>(bar));
    }
}

}  // namespace
}  // namespace runtime::test
