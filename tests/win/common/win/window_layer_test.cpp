// The window layer: rows route messages to handlers with decoded arguments,
// unmatched messages reach the default procedure, and a window ended by its
// C++ owner still runs its own destroy handler. (Shadowed rows fail to
// compile: see misfit_rows.cpp.)
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "common/win/message_key.h"
#include "common/win/window.h"
#include "monitor/app/monitor_wnd_win.h"

namespace {

constexpr win::RegisteredMessage kPing("WindowLayerTest_Ping");

// Makes `window` a hidden popup of the window class `className`.
bool MakePopup(win::Window& window, const char* className) {
    win::WindowSpec spec;
    spec.className = className;
    spec.style = WS_POPUP;
    return window.Create(spec);
}

class Probe : public win::WindowImpl<Probe> {
  public:
    static std::span<const win::MessageRow<Probe>> MessageMap() {
        static constexpr win::MessageRow<Probe> rows[] = {
            win::OnMessage<WM_USER + 1, &Probe::OnPair>(),
            win::OnMessage<WM_COPYDATA, &Probe::OnCopy>(),
            win::OnMessage<WM_TIMER, &Probe::OnTimerId>(),
            win::OnCommand<&Probe::OnExact>(6001),
            win::OnCommandRange<&Probe::OnRange>(100, 109),
            win::OnControl<&Probe::OnCode>(BN_DOUBLECLICKED, 200),
            win::OnRegistered<&Probe::OnPing>(kPing),
        };
        static_assert(win::NoRowShadowed(rows),
                      "a row of this table is shadowed by an earlier one");
        return rows;
    }

    bool Make() {
        win::WindowSpec spec;
        spec.className = "WindowLayerProbe";
        spec.title = "window layer probe";
        spec.style = WS_POPUP;
        return Create(spec);
    }

    LRESULT OnPair(win::WParam<short> first, win::LParam<long> second) {
        log.push_back("pair " + std::to_string(first.value) + " " + std::to_string(second.value));
        return 42;
    }
    LRESULT OnCopy(HWND, const COPYDATASTRUCT* data) {
        log.push_back("copy " + std::to_string(data->cbData));
        return 1;
    }
    LRESULT OnTimerId(UINT_PTR id) {
        log.push_back("timer " + std::to_string(id));
        return CallDefault();
    }
    void OnExact() { log.push_back("exact"); }
    void OnRange(UINT id) { log.push_back("range " + std::to_string(id)); }
    void OnCode(UINT id, UINT code) {
        log.push_back("code " + std::to_string(id) + " " + std::to_string(code));
    }
    LRESULT OnPing(win::WParam<WPARAM> w) {
        log.push_back("ping " + std::to_string(w.value));
        return 7;
    }

    std::vector<std::string> log;
};

TEST(WindowLayer, RowsDecodeTheirParameters) {
    Probe probe;
    ASSERT_TRUE(probe.Make());
    HWND hwnd = probe.Hwnd();
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 1, static_cast<WPARAM>(-3), 123456), 42);
    COPYDATASTRUCT cds{0, 9, nullptr};
    EXPECT_EQ(SendMessageA(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)), 1);
    SendMessageA(hwnd, WM_TIMER, 502, 0);
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(6001, 0), 0);
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(105, 0), 0);
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(110, 0), 0);           // outside the range: no row
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(200, BN_CLICKED), 0);  // other code: no row
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(200, BN_DOUBLECLICKED), 0);
    EXPECT_EQ(SendMessageA(hwnd, kPing.Id(), 5, 0), 7);
    const std::vector<std::string> expected = {"pair -3 123456", "copy 9",     "timer 502", "exact",
                                               "range 105",      "code 200 5", "ping 5"};
    EXPECT_EQ(probe.log, expected);
}

TEST(WindowLayer, UnhandledMessagesGetDefaultProcessing) {
    Probe probe;
    ASSERT_TRUE(probe.Make());
    SetWindowTextA(probe.Hwnd(), "renamed");
    char text[32] = {};
    GetWindowTextA(probe.Hwnd(), text, sizeof text);
    EXPECT_STREQ(text, "renamed");
    EXPECT_TRUE(probe.log.empty());
}

// Handlers a base class shares with the window classes derived from it. As
// the second base it sits at an offset inside the window object, so a row
// that called it with the window's own address would write past it.
class SharedHandlers {
  public:
    LRESULT OnSharedPing(win::WParam<int> w) {
        seen.push_back("ping " + std::to_string(w.value));
        return 11;
    }
    void OnSharedCommand(UINT id) { seen.push_back("command " + std::to_string(id)); }

    std::vector<std::string> seen;
};

class Derived : public win::WindowImpl<Derived>, public SharedHandlers {
  public:
    using Row = win::MessageRow<Derived>;
    static std::span<const Row> MessageMap() {
        static constexpr Row shared[] = {
            win::OnMessage<WM_USER + 2, &Derived::OnSharedPing, Derived>(),
            win::OnCommand<&Derived::OnSharedCommand, Derived>(300),
        };
        static constexpr Row own[] = {win::OnMessage<WM_USER + 3, &Derived::OnOwn>()};
        static constexpr auto rows = win::JoinRows(std::to_array(shared), std::to_array(own));
        static_assert(win::NoRowShadowed(rows),
                      "a row of this table is shadowed by an earlier one");
        return rows;
    }

    LRESULT OnOwn() {
        seen.push_back("own");
        return 12;
    }
};

TEST(WindowLayer, BaseClassHandlersRouteThroughTheDerivedTable) {
    Derived window;
    ASSERT_TRUE(MakePopup(window, "WindowLayerDerived"));
    EXPECT_EQ(SendMessageA(window.Hwnd(), WM_USER + 2, 4, 0), 11);
    SendMessageA(window.Hwnd(), WM_COMMAND, MAKEWPARAM(300, 0), 0);
    EXPECT_EQ(SendMessageA(window.Hwnd(), WM_USER + 3, 0, 0), 12);
    const std::vector<std::string> expected = {"ping 4", "command 300", "own"};
    EXPECT_EQ(window.seen, expected);
    EXPECT_EQ(Derived::MessageMap().size(), 3u);
}

// A window made of the window base's groups of rows and a row list of
// several messages that one handler serves.
class Grouped : public win::WindowImpl<Grouped> {
  public:
    static std::span<const win::MessageRow<Grouped>> MessageMap() {
        static constexpr auto rows =
            win::Checked(win::JoinRows(PressRows(), PressLostRows(), KeyRows(),
                                       win::OnMessages<&Grouped::OnEdit, WM_CUT, WM_PASTE>()));
        return rows;
    }

    std::vector<std::string> seen;

  private:
    friend class win::WindowImpl<Grouped>;
    void Note(const char* what, POINT at) {
        seen.push_back(std::string(what) + " " + std::to_string(at.x) + "," + std::to_string(at.y));
    }
    void OnLButtonDown(UINT, POINT at) { Note("down", at); }
    void OnLButtonUp(UINT, POINT at) { Note("up", at); }
    void OnCaptureChanged() { seen.push_back("capture lost"); }
    void OnKillFocus() { seen.push_back("focus lost"); }
    LRESULT OnGetDlgCode() { return DLGC_WANTARROWS; }
    void OnKeyDown(UINT key, UINT) { seen.push_back("key " + std::to_string(key)); }
    void OnEdit() { seen.push_back("edit"); }
};

TEST(WindowLayer, GroupsOfRowsRouteEachMessageToItsHandler) {
    Grouped window;
    ASSERT_TRUE(MakePopup(window, "WindowLayerGrouped"));
    const HWND hwnd = window.Hwnd();
    SendMessageA(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 4));
    SendMessageA(hwnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 6));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
    SendMessageA(hwnd, WM_CAPTURECHANGED, 0, 0);
    SendMessageA(hwnd, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(SendMessageA(hwnd, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    SendMessageA(hwnd, WM_KEYDOWN, VK_LEFT, 0);
    SendMessageA(hwnd, WM_CUT, 0, 0);
    SendMessageA(hwnd, WM_PASTE, 0, 0);
    const std::vector<std::string> expected = {"down 3,4",   "down 5,6",
                                               "up 7,8",     "capture lost",
                                               "focus lost", "key " + std::to_string(VK_LEFT),
                                               "edit",       "edit"};
    EXPECT_EQ(window.seen, expected);
    EXPECT_EQ(Grouped::MessageMap().size(), 9u);
}

// A window whose C++ owner ends it while the window still exists.
class Ending : public win::WindowImpl<Ending> {
  public:
    explicit Ending(std::vector<std::string>& log) : log_(log) {}
    ~Ending() override { DestroyWindowNow(); }
    static std::span<const win::MessageRow<Ending>> MessageMap() {
        static constexpr win::MessageRow<Ending> rows[] = {
            win::OnMessage<WM_DESTROY, &Ending::OnDestroy>(),
        };
        static_assert(win::NoRowShadowed(rows),
                      "a row of this table is shadowed by an earlier one");
        return rows;
    }
    void OnDestroy() { log_.push_back(IsWindow(Hwnd()) ? "destroy, window alive" : "too late"); }

  private:
    std::vector<std::string>& log_;
};

TEST(WindowLayer, AWindowEndedByItsOwnerRunsItsOwnDestroyHandler) {
    std::vector<std::string> log;
    HWND hwnd = nullptr;
    {
        Ending window(log);
        ASSERT_TRUE(MakePopup(window, "WindowLayerEnding"));
        hwnd = window.Hwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(log, std::vector<std::string>{"destroy, window alive"});
}

TEST(MessageMaps, MonitorAnswersEveryMessageOfItsInterface) {
    const auto keys = win::KeysOf<monitor::CMonitorWnd>(monitor::CMonitorWnd::MessageMap());
    auto has = [&](unsigned message) {
        for (const auto& k : keys)
            if (k.message == message)
                return true;
        return false;
    };
    for (unsigned message :
         {unsigned{WM_CREATE}, unsigned{WM_DESTROY}, unsigned{WM_TIMER}, unsigned{WM_COPYDATA},
          1036u, 1224u, 1226u, 1227u, 1274u, 1325u, 1326u}) {
        EXPECT_TRUE(has(message)) << message;
    }
}

}  // namespace
