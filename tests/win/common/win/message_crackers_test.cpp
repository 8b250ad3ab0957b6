// The crackers: every cracked message, dispatched with distinct wParam and
// lParam, reaches its handler with the values the message carries and from
// the parameter that carries them; and the messages the system itself sends
// (focus, capture, erasing, control colours, creation, a captured mouse
// outside the window) arrive as the system meant them.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/win/window.h"

namespace {

std::string Hex(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%#llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(p)));
    return text;
}

std::string At(POINT p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

struct Entry {
    UINT msg;
    std::string text;
};

// One row for every cracked message; each handler writes what it was given.
class CrackProbe : public win::WindowImpl<CrackProbe> {
  public:
    static std::span<const win::MessageRow<CrackProbe>> MessageMap() {
        using P = CrackProbe;
        static constexpr win::MessageRow<P> rows[] = {
            win::OnMessage<WM_DESTROY, &P::Nothing<WM_DESTROY>>(),
            win::OnMessage<WM_CLOSE, &P::Nothing<WM_CLOSE>>(),
            win::OnMessage<WM_PAINT, &P::Paint>(),
            win::OnMessage<WM_NCPAINT, &P::Nothing<WM_NCPAINT>>(),
            win::OnMessage<WM_MOUSELEAVE, &P::Nothing<WM_MOUSELEAVE>>(),
            win::OnMessage<WM_CUT, &P::Nothing<WM_CUT>>(),
            win::OnMessage<WM_PASTE, &P::Nothing<WM_PASTE>>(),
            win::OnMessage<WM_CLEAR, &P::Nothing<WM_CLEAR>>(),
            win::OnMessage<WM_UNDO, &P::Nothing<WM_UNDO>>(),
            win::OnMessage<EM_UNDO, &P::Nothing<EM_UNDO>>(),
            win::OnMessage<WM_CREATE, &P::Created>(),
            win::OnMessage<WM_INITDIALOG, &P::InitDialog>(),
            win::OnMessage<WM_QUERYDRAGICON, &P::Nothing<WM_QUERYDRAGICON>>(),
            win::OnMessage<WM_TIMER, &P::Timer>(),
            win::OnMessage<WM_ENABLE, &P::Flag<WM_ENABLE>>(),
            win::OnMessage<WM_SHOWWINDOW, &P::ShowWindow>(),
            win::OnMessage<WM_SIZE, &P::Size>(),
            win::OnMessage<BM_SETSTATE, &P::Flag<BM_SETSTATE>>(),
            win::OnMessage<WM_SETFOCUS, &P::OtherWindow<WM_SETFOCUS>>(),
            win::OnMessage<WM_KILLFOCUS, &P::OtherWindow<WM_KILLFOCUS>>(),
            win::OnMessage<WM_CAPTURECHANGED, &P::OtherWindow<WM_CAPTURECHANGED>>(),
            win::OnMessage<WM_ERASEBKGND, &P::EraseBackground>(),
            win::OnMessage<WM_CTLCOLORBTN, &P::ControlColor<WM_CTLCOLORBTN>>(),
            win::OnMessage<WM_CTLCOLORDLG, &P::ControlColor<WM_CTLCOLORDLG>>(),
            win::OnMessage<WM_CTLCOLOREDIT, &P::ControlColor<WM_CTLCOLOREDIT>>(),
            win::OnMessage<WM_CTLCOLORLISTBOX, &P::ControlColor<WM_CTLCOLORLISTBOX>>(),
            win::OnMessage<WM_CTLCOLORSCROLLBAR, &P::ControlColor<WM_CTLCOLORSCROLLBAR>>(),
            win::OnMessage<WM_CTLCOLORSTATIC, &P::ControlColor<WM_CTLCOLORSTATIC>>(),
            win::OnMessage<WM_DRAWITEM, &P::DrawItem>(),
            win::OnMessage<WM_MEASUREITEM, &P::MeasureItem>(),
            win::OnMessage<WM_MOUSEMOVE, &P::Mouse<WM_MOUSEMOVE>>(),
            win::OnMessage<WM_LBUTTONDOWN, &P::Mouse<WM_LBUTTONDOWN>>(),
            win::OnMessage<WM_LBUTTONUP, &P::Mouse<WM_LBUTTONUP>>(),
            win::OnMessage<WM_LBUTTONDBLCLK, &P::Mouse<WM_LBUTTONDBLCLK>>(),
            win::OnMessage<WM_RBUTTONDOWN, &P::Mouse<WM_RBUTTONDOWN>>(),
            win::OnMessage<WM_RBUTTONUP, &P::Mouse<WM_RBUTTONUP>>(),
            win::OnMessage<WM_RBUTTONDBLCLK, &P::Mouse<WM_RBUTTONDBLCLK>>(),
            win::OnMessage<WM_MBUTTONDOWN, &P::Mouse<WM_MBUTTONDOWN>>(),
            win::OnMessage<WM_MBUTTONUP, &P::Mouse<WM_MBUTTONUP>>(),
            win::OnMessage<WM_MOUSEWHEEL, &P::Wheel>(),
            win::OnMessage<WM_NCHITTEST, &P::HitTest>(),
            win::OnMessage<WM_NCMOUSEMOVE, &P::NonClient<WM_NCMOUSEMOVE>>(),
            win::OnMessage<WM_NCLBUTTONDOWN, &P::NonClient<WM_NCLBUTTONDOWN>>(),
            win::OnMessage<WM_NCLBUTTONUP, &P::NonClient<WM_NCLBUTTONUP>>(),
            win::OnMessage<WM_NCLBUTTONDBLCLK, &P::NonClient<WM_NCLBUTTONDBLCLK>>(),
            win::OnMessage<WM_SETCURSOR, &P::SetCursor>(),
            win::OnMessage<WM_CONTEXTMENU, &P::ContextMenu>(),
            win::OnMessage<WM_KEYDOWN, &P::Key<WM_KEYDOWN>>(),
            win::OnMessage<WM_KEYUP, &P::Key<WM_KEYUP>>(),
            win::OnMessage<WM_SYSKEYDOWN, &P::Key<WM_SYSKEYDOWN>>(),
            win::OnMessage<WM_SYSKEYUP, &P::Key<WM_SYSKEYUP>>(),
            win::OnMessage<WM_CHAR, &P::Key<WM_CHAR>>(),
            win::OnMessage<WM_HSCROLL, &P::Scroll<WM_HSCROLL>>(),
            win::OnMessage<WM_VSCROLL, &P::Scroll<WM_VSCROLL>>(),
            win::OnMessage<WM_SETTEXT, &P::SetText>(),
            win::OnMessage<EM_REPLACESEL, &P::ReplaceSelection>(),
            win::OnMessage<WM_COPYDATA, &P::CopyData>(),
            win::OnMessage<WM_DPICHANGED, &P::DpiChanged>(),
            win::OnMessage<WM_GETDLGCODE, &P::DialogCode>(),
            win::OnMessage<WM_GETOBJECT, &P::GetObject>(),
            win::OnMessage<WM_POWERBROADCAST, &P::Power>(),
            win::OnMessage<WM_WTSSESSION_CHANGE, &P::SessionChange>(),
            win::OnMessage<WM_QUERYENDSESSION, &P::QueryEndSession>(),
            win::OnMessage<WM_ENDSESSION, &P::EndSession>(),
        };
        static_assert(win::NoRowShadowed(rows),
                      "a row of this table is shadowed by an earlier one");
        return rows;
    }

    bool Make(const char* title, DWORD style, RECT r, HWND parent = nullptr) {
        win::WindowSpec spec;
        spec.className = "CrackProbe";
        spec.title = title;
        spec.style = style;
        spec.x = r.left;
        spec.y = r.top;
        spec.width = r.right - r.left;
        spec.height = r.bottom - r.top;
        spec.parent = parent;
        return Create(spec);
    }

    // Hands one message straight to the window procedure, past the system.
    LRESULT Deliver(UINT msg, WPARAM w, LPARAM l) {
        auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Hwnd(), GWLP_WNDPROC));
        return CallWindowProcA(proc, Hwnd(), msg, w, l);
    }

    std::vector<std::string> Of(UINT msg) const {
        std::vector<std::string> texts;
        for (const Entry& e : log)
            if (e.msg == msg)
                texts.push_back(e.text);
        return texts;
    }

    std::vector<Entry> log;
    HWND eraseDcWindow = nullptr;
    HWND colorDcWindow = nullptr;

  private:
    void Note(UINT msg, std::string text) { log.push_back({msg, std::move(text)}); }

    template <UINT M>
    void Nothing() {
        Note(M, "-");
    }
    void Paint() {
        PAINTSTRUCT ps;
        BeginPaint(Hwnd(), &ps);  // erases first, when the update asks for it
        EndPaint(Hwnd(), &ps);
        Note(WM_PAINT, "-");
    }
    void Created(const CREATESTRUCTA* cs) {
        Note(WM_CREATE, std::string("create ") + cs->lpszName);
    }
    BOOL InitDialog(HWND focus, LPARAM value) {
        Note(WM_INITDIALOG, Hex(focus) + " " + Hex(reinterpret_cast<const void*>(value)));
        return TRUE;
    }
    void Timer(UINT_PTR id) { Note(WM_TIMER, "timer " + std::to_string(id)); }
    template <UINT M>
    void Flag(bool on) {
        Note(M, on ? "on" : "off");
    }
    void ShowWindow(bool shown, UINT status) {
        Note(WM_SHOWWINDOW, std::to_string(shown) + " " + std::to_string(status));
    }
    void Size(UINT kind, SIZE size) {
        Note(WM_SIZE,
             std::to_string(kind) + " " + std::to_string(size.cx) + "x" + std::to_string(size.cy));
    }
    template <UINT M>
    void OtherWindow(HWND other) {
        Note(M, Hex(other));
    }
    LRESULT EraseBackground(HDC dc) {
        eraseDcWindow = WindowFromDC(dc);
        Note(WM_ERASEBKGND, Hex(dc));
        return 1;
    }
    template <UINT M>
    HBRUSH ControlColor(HDC dc, HWND control) {
        colorDcWindow = WindowFromDC(dc);
        Note(M, Hex(dc) + " " + Hex(control));
        return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    }
    BOOL DrawItem(UINT id, const DRAWITEMSTRUCT* item) {
        Note(WM_DRAWITEM, std::to_string(id) + " " + std::to_string(item->itemID));
        return TRUE;
    }
    BOOL MeasureItem(UINT id, MEASUREITEMSTRUCT* item) {
        item->itemHeight = 21;
        Note(WM_MEASUREITEM, std::to_string(id) + " " + std::to_string(item->itemID));
        return TRUE;
    }
    template <UINT M>
    void Mouse(UINT keys, POINT at) {
        Note(M, std::to_string(keys) + " " + At(at));
    }
    void Wheel(UINT keys, int delta, const POINT& screen) {
        Note(WM_MOUSEWHEEL, std::to_string(keys) + " " + std::to_string(delta) + " " + At(screen));
    }
    LRESULT HitTest(POINT screen) {
        Note(WM_NCHITTEST, At(screen));
        return HTCLIENT;
    }
    template <UINT M>
    void NonClient(int hitTest, POINT screen) {
        Note(M, std::to_string(hitTest) + " " + At(screen));
    }
    BOOL SetCursor(HWND under, int hitTest, UINT mouseMessage) {
        Note(WM_SETCURSOR,
             Hex(under) + " " + std::to_string(hitTest) + " " + std::to_string(mouseMessage));
        return TRUE;
    }
    void ContextMenu(HWND clicked, POINT screen) {
        Note(WM_CONTEXTMENU, Hex(clicked) + " " + At(screen));
    }
    template <UINT M>
    void Key(UINT key, UINT keyData) {
        Note(M, std::to_string(key) + " " + std::to_string(keyData));
    }
    template <UINT M>
    void Scroll(UINT code, int position, HWND bar) {
        Note(M, std::to_string(code) + " " + std::to_string(position) + " " + Hex(bar));
    }
    BOOL SetText(const char* text) {
        Note(WM_SETTEXT, text);
        return TRUE;
    }
    void ReplaceSelection(bool canUndo, const char* text) {
        Note(EM_REPLACESEL, std::to_string(canUndo) + " " + text);
    }
    BOOL CopyData(HWND from, const COPYDATASTRUCT* data) {
        Note(WM_COPYDATA,
             Hex(from) + " " + std::to_string(data->dwData) + " " + std::to_string(data->cbData));
        return TRUE;
    }
    void DpiChanged(UINT dpi, const RECT* suggested) {
        Note(WM_DPICHANGED, std::to_string(dpi) + " " + std::to_string(suggested->left));
    }
    LRESULT DialogCode() {
        Note(WM_GETDLGCODE, "");
        return DLGC_WANTARROWS;
    }
    LRESULT GetObject(WPARAM flags, LONG objectId) {
        Note(WM_GETOBJECT, std::to_string(flags) + " " + std::to_string(objectId));
        return 0;
    }
    LRESULT Power(WPARAM event) {
        Note(WM_POWERBROADCAST, std::to_string(event));
        return TRUE;
    }
    void SessionChange(WPARAM change, DWORD session) {
        Note(WM_WTSSESSION_CHANGE, std::to_string(change) + " " + std::to_string(session));
    }
    BOOL QueryEndSession(LPARAM reasons) {
        Note(WM_QUERYENDSESSION, Hex(reinterpret_cast<const void*>(reasons)));
        return TRUE;
    }
    void EndSession(bool ending, LPARAM reasons) {
        Note(WM_ENDSESSION,
             std::to_string(ending) + " " + Hex(reinterpret_cast<const void*>(reasons)));
    }
};

// What the rows accept, checked by the compiler: a handler takes all of a
// system message's arguments with their exact types, or none; a handler of
// our own message names the side of each parameter.
struct Shapes {
    void None() {}
    void Dc(HDC) const {}
    void Window(HWND) {}
    void MouseFits(UINT, POINT) {}
    void MouseByConstRef(const UINT&, const POINT&) {}
    void MouseByMutableRef(UINT, POINT&) {}
    void MouseSwapped(POINT, UINT) {}
    void MouseKeysOnly(UINT) {}
    void MouseRaw(WPARAM, LPARAM) {}
    void MouseExtra(UINT, POINT, int) {}
    void Named(win::WParam<UINT>, win::LParam<const char*>) {}
    void NamedLParamOnly(win::LParam<HWND>) {}
    void NamedSwapped(win::LParam<int>, win::WParam<int>) {}
    void NamedTwice(win::WParam<int>, win::WParam<int>) {}
};
static_assert(win::kHandlerFits<WM_ERASEBKGND, &Shapes::Dc>);
static_assert(win::kHandlerFits<WM_ERASEBKGND, &Shapes::None>);
static_assert(!win::kHandlerFits<WM_ERASEBKGND, &Shapes::Window>);
static_assert(win::kHandlerFits<WM_KILLFOCUS, &Shapes::Window>);
static_assert(!win::kHandlerFits<WM_KILLFOCUS, &Shapes::Dc>);
static_assert(win::kHandlerFits<WM_MOUSEMOVE, &Shapes::MouseFits>);
static_assert(win::kHandlerFits<WM_MOUSEMOVE, &Shapes::MouseByConstRef>);
static_assert(!win::kHandlerFits<WM_MOUSEMOVE, &Shapes::MouseByMutableRef>);
static_assert(!win::kHandlerFits<WM_MOUSEMOVE, &Shapes::MouseSwapped>);
static_assert(!win::kHandlerFits<WM_MOUSEMOVE, &Shapes::MouseKeysOnly>);
static_assert(!win::kHandlerFits<WM_MOUSEMOVE, &Shapes::MouseRaw>);
static_assert(!win::kHandlerFits<WM_MOUSEMOVE, &Shapes::MouseExtra>);
static_assert(!win::kHandlerFits<WM_MOVE, &Shapes::None>);  // no cracker
static_assert(win::kHandlerFits<WM_USER + 5, &Shapes::None>);
static_assert(win::kHandlerFits<WM_USER + 5, &Shapes::Named>);
static_assert(win::kHandlerFits<WM_APP + 5, &Shapes::NamedLParamOnly>);
static_assert(!win::kHandlerFits<WM_USER + 5, &Shapes::MouseRaw>);
static_assert(!win::kHandlerFits<WM_USER + 5, &Shapes::NamedSwapped>);
static_assert(!win::kHandlerFits<WM_USER + 5, &Shapes::NamedTwice>);

TEST(MessageCrackers, TheProbeHasOneRowForEveryCrackedMessage) {
    std::multiset<UINT> rows;
    for (const auto& key : win::KeysOf<CrackProbe>(CrackProbe::MessageMap()))
        rows.insert(key.message);
    const std::multiset<UINT> cracked(win::kCrackedMessages.begin(), win::kCrackedMessages.end());
    EXPECT_EQ(rows, cracked);
}

struct Case {
    UINT msg;
    WPARAM w;
    LPARAM l;
    std::string expected;
};

// Raw values that make a parameter taken from the wrong side visible.
const WPARAM kW = 0x1234;
const LPARAM kL = 0x5678;
const std::string kWHex = "0x1234";
const std::string kLHex = "0x5678";

LPARAM Packed(int low, int high) {
    return MAKELPARAM(low, high);
}

TEST(MessageCrackers, EachMessageIsReadFromTheParameterThatCarriesIt) {
    CrackProbe probe;
    ASSERT_TRUE(probe.Make("crack probe", WS_POPUP, RECT{0, 0, 50, 50}));
    const std::string lbutton = std::to_string(WM_LBUTTONDOWN);
    const std::vector<Case> cases = {
        {WM_DESTROY, kW, kL, "-"},
        {WM_CLOSE, kW, kL, "-"},
        {WM_PAINT, kW, kL, "-"},
        {WM_NCPAINT, kW, kL, "-"},
        {WM_MOUSELEAVE, kW, kL, "-"},
        {WM_CUT, kW, kL, "-"},
        {WM_PASTE, kW, kL, "-"},
        {WM_CLEAR, kW, kL, "-"},
        {WM_UNDO, kW, kL, "-"},
        {EM_UNDO, kW, kL, "-"},
        {WM_TIMER, kW, kL, "timer 4660"},
        {WM_INITDIALOG, kW, kL, kWHex + " " + kLHex},
        {WM_QUERYDRAGICON, kW, kL, "-"},
        {WM_ENABLE, 0, kL, "off"},
        {WM_ENABLE, 1, 0, "on"},
        {WM_SHOWWINDOW, 1, SW_PARENTOPENING, "1 3"},
        {WM_SIZE, SIZE_MAXIMIZED, Packed(640, 480), "2 640x480"},
        {BM_SETSTATE, 0, kL, "off"},
        {WM_SETFOCUS, kW, kL, kWHex},
        {WM_KILLFOCUS, kW, kL, kWHex},
        {WM_CAPTURECHANGED, kW, kL, kLHex},
        {WM_ERASEBKGND, kW, kL, kWHex},
        {WM_CTLCOLORBTN, kW, kL, kWHex + " " + kLHex},
        {WM_CTLCOLORDLG, kW, kL, kWHex + " " + kLHex},
        {WM_CTLCOLOREDIT, kW, kL, kWHex + " " + kLHex},
        {WM_CTLCOLORLISTBOX, kW, kL, kWHex + " " + kLHex},
        {WM_CTLCOLORSCROLLBAR, kW, kL, kWHex + " " + kLHex},
        {WM_CTLCOLORSTATIC, kW, kL, kWHex + " " + kLHex},
        {WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, Packed(-5, -7), "9 -5,-7"},
        {WM_LBUTTONDOWN, MK_LBUTTON, Packed(32767, 0), "1 32767,0"},
        {WM_LBUTTONUP, 0, Packed(-32768, 12), "0 -32768,12"},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, Packed(3, -1), "1 3,-1"},
        {WM_RBUTTONDOWN, MK_RBUTTON, Packed(-1, 3), "2 -1,3"},
        {WM_RBUTTONUP, MK_SHIFT, Packed(10, 20), "4 10,20"},
        {WM_RBUTTONDBLCLK, MK_RBUTTON, Packed(-10, -20), "2 -10,-20"},
        {WM_MBUTTONDOWN, MK_MBUTTON, Packed(7, -8), "16 7,-8"},
        {WM_MBUTTONUP, 0, Packed(-7, 8), "0 -7,8"},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), Packed(-100, 200),
         "4 -120 -100,200"},
        {WM_NCHITTEST, kW, Packed(-300, -2), "-300,-2"},
        {WM_NCMOUSEMOVE, HTLEFT, Packed(-4, 9), "10 -4,9"},
        {WM_NCLBUTTONDOWN, HTCAPTION, Packed(-40, 30), "2 -40,30"},
        {WM_NCLBUTTONUP, HTCLOSE, Packed(40, -30), "20 40,-30"},
        {WM_NCLBUTTONDBLCLK, HTCAPTION, Packed(1, 2), "2 1,2"},
        {WM_SETCURSOR, kW, Packed(HTERROR, WM_LBUTTONDOWN), kWHex + " -2 " + lbutton},
        {WM_CONTEXTMENU, kW, Packed(-1, -1), kWHex + " -1,-1"},
        {WM_KEYDOWN, VK_F5, static_cast<LPARAM>(0x003F0001u), "116 4128769"},
        {WM_KEYUP, VK_F5, static_cast<LPARAM>(0xC03F0001u), "116 3225354241"},
        {WM_SYSKEYDOWN, VK_MENU, static_cast<LPARAM>(0x20380001u), "18 540540929"},
        {WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xE0380001u), "18 3761766401"},
        {WM_CHAR, 'q', static_cast<LPARAM>(0x00100001u), "113 1048577"},
        {WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(-20)), kL, "5 -20 " + kLHex},
        {WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0, "1 0 0"},
        {WM_POWERBROADCAST, 0x12, kL, "18"},
        {WM_WTSSESSION_CHANGE, 8, 3, "8 3"},
        {WM_QUERYENDSESSION, kW, kL, kLHex},
        {WM_ENDSESSION, 1, kL, "1 " + kLHex},
    };
    for (const Case& c : cases) {
        probe.log.clear();
        probe.Deliver(c.msg, c.w, c.l);
        ASSERT_EQ(probe.log.size(), 1u) << "message " << c.msg;
        EXPECT_EQ(probe.log[0].msg, c.msg);
        EXPECT_EQ(probe.log[0].text, c.expected) << "message " << c.msg;
    }

    // The messages that carry a structure or text by address.
    probe.log.clear();
    CREATESTRUCTA create{};
    create.lpszName = "made";
    probe.Deliver(WM_CREATE, kW, reinterpret_cast<LPARAM>(&create));
    DRAWITEMSTRUCT draw{};
    draw.itemID = 33;
    EXPECT_EQ(probe.Deliver(WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&draw)), TRUE);
    MEASUREITEMSTRUCT measure{};
    measure.itemID = 34;
    EXPECT_EQ(probe.Deliver(WM_MEASUREITEM, 8, reinterpret_cast<LPARAM>(&measure)), TRUE);
    EXPECT_EQ(measure.itemHeight, 21u);  // filled in the sender's own structure
    probe.Deliver(WM_SETTEXT, kW, reinterpret_cast<LPARAM>("abc"));
    probe.Deliver(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("xyz"));
    COPYDATASTRUCT copy{77, 9, nullptr};
    EXPECT_EQ(probe.Deliver(WM_COPYDATA, kW, reinterpret_cast<LPARAM>(&copy)), TRUE);
    const RECT suggested{40, 30, 1330, 930};
    probe.Deliver(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    probe.Deliver(WM_GETOBJECT, kW, static_cast<LPARAM>(OBJID_CLIENT));
    // Another process's question reaches a 64-bit window with the id's upper
    // half zero (0x00000000FFFFFFFC): still the client.
    probe.Deliver(WM_GETOBJECT, kW, static_cast<LPARAM>(static_cast<DWORD>(OBJID_CLIENT)));
    EXPECT_EQ(probe.Deliver(WM_GETDLGCODE, kW, kL), DLGC_WANTARROWS);
    const std::vector<std::string> texts = {"create made",
                                            "7 33",
                                            "8 34",
                                            "abc",
                                            "1 xyz",
                                            kWHex + " 77 9",
                                            "144 40",
                                            std::to_string(kW) + " -4",
                                            std::to_string(kW) + " -4",
                                            ""};
    ASSERT_EQ(probe.log.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(probe.log[i].text, texts[i]);

    // Results: a handle, a hit-test code, TRUE.
    EXPECT_EQ(probe.Deliver(WM_CTLCOLOREDIT, kW, kL),
              reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(probe.Deliver(WM_NCHITTEST, 0, 0), HTCLIENT);
    EXPECT_EQ(probe.Deliver(WM_ERASEBKGND, kW, kL), 1);
}

void Drain() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

void PumpUntil(const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 10000) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        Sleep(5);
    }
}

TEST(MessageCrackers, MessagesTheSystemSendsArriveAsItMeantThem) {
    CrackProbe parent;
    ASSERT_TRUE(parent.Make("crack parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                            RECT{100, 100, 300, 300}));
    EXPECT_EQ(parent.Of(WM_CREATE), std::vector<std::string>{"create crack parent"});
    CrackProbe first;
    CrackProbe second;
    ASSERT_TRUE(first.Make("first", WS_CHILD | WS_VISIBLE, RECT{20, 20, 70, 70}, parent.Hwnd()));
    ASSERT_TRUE(second.Make("second", WS_CHILD | WS_VISIBLE, RECT{80, 20, 130, 70}, parent.Hwnd()));
    HWND edit = CreateWindowExA(0, "EDIT", "text", WS_CHILD | WS_VISIBLE, 20, 100, 100, 24,
                                parent.Hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    SetForegroundWindow(parent.Hwnd());
    Drain();

    // Focus: each side is told the other window, in wParam.
    SetFocus(first.Hwnd());
    first.log.clear();
    second.log.clear();
    SetFocus(second.Hwnd());
    EXPECT_EQ(first.Of(WM_KILLFOCUS), std::vector<std::string>{Hex(second.Hwnd())});
    EXPECT_EQ(second.Of(WM_SETFOCUS), std::vector<std::string>{Hex(first.Hwnd())});

    // Capture: the loser is told the new owner, in lParam.
    SetCapture(first.Hwnd());
    first.log.clear();
    SetCapture(second.Hwnd());
    EXPECT_EQ(first.Of(WM_CAPTURECHANGED), std::vector<std::string>{Hex(second.Hwnd())});

    // A captured mouse above and left of the window: negative client points.
    second.log.clear();
    SetCursorPos(100 + 80 - 15, 100 + 20 - 6);
    PumpUntil([&] { return !second.Of(WM_MOUSEMOVE).empty(); });
    ASSERT_FALSE(second.Of(WM_MOUSEMOVE).empty()) << "no mouse move for the captured window";
    EXPECT_EQ(second.Of(WM_MOUSEMOVE).back(), "0 -15,-6");
    ReleaseCapture();

    // Erasing: the DC in wParam is the window's own.
    first.log.clear();
    InvalidateRect(first.Hwnd(), nullptr, TRUE);
    UpdateWindow(first.Hwnd());
    ASSERT_EQ(first.Of(WM_ERASEBKGND).size(), 1u);
    EXPECT_EQ(first.eraseDcWindow, first.Hwnd());

    // Control colours: the control's DC in wParam, the control in lParam.
    parent.log.clear();
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    const auto colors = parent.Of(WM_CTLCOLOREDIT);
    ASSERT_FALSE(colors.empty());
    EXPECT_NE(colors.back().find(" " + Hex(edit)), std::string::npos) << colors.back();
    EXPECT_EQ(parent.colorDcWindow, edit);
    DestroyWindow(edit);
}

}  // namespace
