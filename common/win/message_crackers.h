// What each system message carries, and where. A message map row for a
// system message gets its handler's arguments from the message's cracker
// here, never from the handler's parameter types: OnKillFocus and
// OnCaptureChanged both take an HWND, but the first comes from wParam and the
// second from lParam, and only the message can say so.
//
// Every cracker is a list of fields, one per handler argument, in order.
// Coordinates are signed: a captured mouse left of or above a window, or a
// second monitor left of the first, gives negative values, so points are
// never built from LOWORD/HIWORD alone.
//
// kCrackedMessages lists every message that has a cracker; a row for a
// cracked message that is not listed fails to compile, and the window layer
// test dispatches every listed message, so a new cracker cannot go untested.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

namespace win {

namespace crack {

// The types that a raw parameter can be read as: integers, enums, bool and
// pointers (handles are pointers).
template <class T>
constexpr bool kReadable = std::is_integral_v<T> || std::is_enum_v<T> || std::is_pointer_v<T>;

template <class T, class Raw>
T Read(Raw raw) {
    static_assert(kReadable<T>, "a parameter is read as an integer, enum, bool or pointer");
    if constexpr (std::is_same_v<T, bool>) {
        return raw != 0;
    } else if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<T>(raw);
    } else {
        return static_cast<T>(raw);
    }
}

// The signed point packed into the low and high words of a parameter.
constexpr POINT PointOf(LPARAM raw) {
    return POINT{static_cast<short>(LOWORD(raw)), static_cast<short>(HIWORD(raw))};
}
static_assert(PointOf(MAKELPARAM(-5, -7)).x == -5 && PointOf(MAKELPARAM(-5, -7)).y == -7,
              "points are signed");
static_assert(PointOf(MAKELPARAM(32767, 40)).x == 32767 && PointOf(MAKELPARAM(32767, 40)).y == 40);

// The fields. Each has the handler argument's Type and reads it from the
// message's parameters.
template <class T>
struct W {  // the whole of wParam
    using Type = T;
    static T Get(WPARAM w, LPARAM) { return Read<T>(w); }
};
template <class T>
struct L {  // the whole of lParam
    using Type = T;
    static T Get(WPARAM, LPARAM l) { return Read<T>(l); }
};
struct LowWordW {
    using Type = UINT;
    static UINT Get(WPARAM w, LPARAM) { return LOWORD(w); }
};
struct SignedHighWordW {  // wheel delta, scroll-box position
    using Type = int;
    static int Get(WPARAM w, LPARAM) { return static_cast<short>(HIWORD(w)); }
};
struct SignedLowWordL {  // hit-test codes (HTERROR is -2)
    using Type = int;
    static int Get(WPARAM, LPARAM l) { return static_cast<short>(LOWORD(l)); }
};
struct HighWordL {
    using Type = UINT;
    static UINT Get(WPARAM, LPARAM l) { return HIWORD(l); }
};
struct PointL {  // client or screen coordinates, as the message says
    using Type = POINT;
    static POINT Get(WPARAM, LPARAM l) { return PointOf(l); }
};
struct SizeL {  // new client width and height
    using Type = SIZE;
    static SIZE Get(WPARAM, LPARAM l) { return SIZE{LOWORD(l), HIWORD(l)}; }
};
// A hit-test code in wParam (the non-client mouse messages).
using HitTestW = W<int>;

}  // namespace crack

// A message's handler arguments, in order.
template <class... Fields>
struct Carries {
    static constexpr bool kKnown = true;
    using Args = std::tuple<typename Fields::Type...>;
    static Args Decode(WPARAM w, LPARAM l) { return Args{Fields::Get(w, l)...}; }
};

// A system message without a cracker: rows for it do not compile.
template <UINT Msg>
struct Cracker {
    static constexpr bool kKnown = false;
};

// Messages that hand their handlers the same arguments share one cracker.
template <UINT Msg, UINT... Group>
concept OneOf = ((Msg == Group) || ...);

// Nothing to hand over. WM_NCPAINT's region is the system's to use: our
// handlers only decide whether to paint. WM_GETDLGCODE's answer says which
// keys the control takes itself.
template <UINT Msg>
requires OneOf<Msg, WM_DESTROY, WM_CLOSE, WM_PAINT, WM_NCPAINT, WM_MOUSELEAVE, WM_CUT, WM_PASTE,
               WM_CLEAR, WM_UNDO, EM_UNDO, WM_GETDLGCODE>
struct Cracker<Msg> : Carries<> {
};

// Creation and state.
template <>
struct Cracker<WM_CREATE> : Carries<crack::L<const CREATESTRUCTA*>> {};
// WM_INITDIALOG: the control to get the focus, the dialog's creation value
template <>
struct Cracker<WM_INITDIALOG> : Carries<crack::W<HWND>, crack::L<LPARAM>> {};
// WM_QUERYDRAGICON: nothing; the answer is the icon
template <>
struct Cracker<WM_QUERYDRAGICON> : Carries<> {};
// WM_TIMER: timer id
template <>
struct Cracker<WM_TIMER> : Carries<crack::W<UINT_PTR>> {};
// WM_ENABLE: enabled
template <>
struct Cracker<WM_ENABLE> : Carries<crack::W<bool>> {};
// WM_SHOWWINDOW: shown, status
template <>
struct Cracker<WM_SHOWWINDOW> : Carries<crack::W<bool>, crack::L<UINT>> {};
// WM_SIZE: SIZE_x, client size
template <>
struct Cracker<WM_SIZE> : Carries<crack::W<UINT>, crack::SizeL> {};
// BM_SETSTATE: pushed
template <>
struct Cracker<BM_SETSTATE> : Carries<crack::W<bool>> {};

// Focus and capture: the other window, from different parameters.
// WM_SETFOCUS: the window that lost the focus
template <>
struct Cracker<WM_SETFOCUS> : Carries<crack::W<HWND>> {};
// WM_KILLFOCUS: the window that gets the focus
template <>
struct Cracker<WM_KILLFOCUS> : Carries<crack::W<HWND>> {};
// WM_CAPTURECHANGED: the window that gets the capture
template <>
struct Cracker<WM_CAPTURECHANGED> : Carries<crack::L<HWND>> {};

// Drawing.
template <>
struct Cracker<WM_ERASEBKGND> : Carries<crack::W<HDC>> {};
// Control colours: the control's DC and the control.
template <UINT Msg>
requires OneOf<Msg, WM_CTLCOLORBTN, WM_CTLCOLORDLG, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX,
               WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC>
struct Cracker<Msg> : Carries<crack::W<HDC>, crack::L<HWND>> {
};
// Control id (0 for menus) and the item; the measure handler fills its item in.
template <>
struct Cracker<WM_DRAWITEM> : Carries<crack::W<UINT>, crack::L<const DRAWITEMSTRUCT*>> {};
template <>
struct Cracker<WM_MEASUREITEM> : Carries<crack::W<UINT>, crack::L<MEASUREITEMSTRUCT*>> {};

// Mouse, client area: MK_x flags and the signed client point.
template <UINT Msg>
requires OneOf<Msg, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
               WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP>
struct Cracker<Msg> : Carries<crack::W<UINT>, crack::PointL> {
};
// MK_x flags, signed wheel delta, the signed screen point.
template <>
struct Cracker<WM_MOUSEWHEEL> : Carries<crack::LowWordW, crack::SignedHighWordW, crack::PointL> {};
// Mouse, non-client and screen: hit-test code and the signed screen point.
template <>
struct Cracker<WM_NCHITTEST> : Carries<crack::PointL> {};
template <UINT Msg>
requires OneOf<Msg, WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK>
struct Cracker<Msg> : Carries<crack::HitTestW, crack::PointL> {
};
// The window under the cursor, its hit-test code, the mouse message.
template <>
struct Cracker<WM_SETCURSOR> : Carries<crack::W<HWND>, crack::SignedLowWordL, crack::HighWordL> {};
// The window clicked and the screen point; (-1, -1) when opened from the keyboard.
template <>
struct Cracker<WM_CONTEXTMENU> : Carries<crack::W<HWND>, crack::PointL> {};

// Keyboard: the virtual key (or character) and the key data bits.
template <UINT Msg>
requires OneOf<Msg, WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_CHAR>
struct Cracker<Msg> : Carries<crack::W<UINT>, crack::L<UINT>> {
};

// Scrolling: SB_x code, signed scroll-box position, the scroll bar (null for
// a window's own bars).
template <UINT Msg>
requires OneOf<Msg, WM_HSCROLL, WM_VSCROLL>
struct Cracker<Msg> : Carries<crack::LowWordW, crack::SignedHighWordW, crack::L<HWND>> {
};

// Text. Our windows are ANSI windows.
template <>
struct Cracker<WM_SETTEXT> : Carries<crack::L<const char*>> {};
// EM_REPLACESEL: can undo, text
template <>
struct Cracker<EM_REPLACESEL> : Carries<crack::W<bool>, crack::L<const char*>> {};

// Accessibility: the flags and the object id asked for (OBJID_x, signed).
template <>
struct Cracker<WM_GETOBJECT> : Carries<crack::W<WPARAM>, crack::L<LONG>> {};

// Between programs: the sender's window and the data, valid only during the call.
template <>
struct Cracker<WM_COPYDATA> : Carries<crack::W<HWND>, crack::L<const COPYDATASTRUCT*>> {};
// WM_DPICHANGED: the new DPI (both axes are the same), the suggested window
// rectangle
template <>
struct Cracker<WM_DPICHANGED> : Carries<crack::LowWordW, crack::L<const RECT*>> {};

// The session and the computer's power. WM_POWERBROADCAST: the PBT_x event;
// the answer is TRUE. WM_WTSSESSION_CHANGE: the WTS_x change, the session it
// concerns. WM_QUERYENDSESSION: the ENDSESSION_x reasons; the answer says
// whether the session may end. WM_ENDSESSION: whether it ends, the reasons.
template <>
struct Cracker<WM_POWERBROADCAST> : Carries<crack::W<WPARAM>> {};
template <>
struct Cracker<WM_WTSSESSION_CHANGE> : Carries<crack::W<WPARAM>, crack::L<DWORD>> {};
template <>
struct Cracker<WM_QUERYENDSESSION> : Carries<crack::L<LPARAM>> {};
template <>
struct Cracker<WM_ENDSESSION> : Carries<crack::W<bool>, crack::L<LPARAM>> {};

inline constexpr auto kCrackedMessages = std::to_array<UINT>({
    WM_DPICHANGED,
    WM_DESTROY,
    WM_CLOSE,
    WM_PAINT,
    WM_NCPAINT,
    WM_MOUSELEAVE,
    WM_CUT,
    WM_PASTE,
    WM_CLEAR,
    WM_UNDO,
    EM_UNDO,
    WM_GETDLGCODE,
    WM_CREATE,
    WM_INITDIALOG,
    WM_QUERYDRAGICON,
    WM_TIMER,
    WM_ENABLE,
    WM_SHOWWINDOW,
    WM_SIZE,
    BM_SETSTATE,
    WM_SETFOCUS,
    WM_KILLFOCUS,
    WM_CAPTURECHANGED,
    WM_ERASEBKGND,
    WM_CTLCOLORBTN,
    WM_CTLCOLORDLG,
    WM_CTLCOLOREDIT,
    WM_CTLCOLORLISTBOX,
    WM_CTLCOLORSCROLLBAR,
    WM_CTLCOLORSTATIC,
    WM_DRAWITEM,
    WM_MEASUREITEM,
    WM_MOUSEMOVE,
    WM_LBUTTONDOWN,
    WM_LBUTTONUP,
    WM_LBUTTONDBLCLK,
    WM_RBUTTONDOWN,
    WM_RBUTTONUP,
    WM_RBUTTONDBLCLK,
    WM_MBUTTONDOWN,
    WM_MBUTTONUP,
    WM_MOUSEWHEEL,
    WM_NCHITTEST,
    WM_NCMOUSEMOVE,
    WM_NCLBUTTONDOWN,
    WM_NCLBUTTONUP,
    WM_NCLBUTTONDBLCLK,
    WM_SETCURSOR,
    WM_CONTEXTMENU,
    WM_KEYDOWN,
    WM_KEYUP,
    WM_SYSKEYDOWN,
    WM_SYSKEYUP,
    WM_CHAR,
    WM_HSCROLL,
    WM_VSCROLL,
    WM_SETTEXT,
    EM_REPLACESEL,
    WM_GETOBJECT,
    WM_COPYDATA,
    WM_POWERBROADCAST,
    WM_WTSSESSION_CHANGE,
    WM_QUERYENDSESSION,
    WM_ENDSESSION,
});

namespace detail {

constexpr bool Listed(UINT msg) {
    for (UINT m : kCrackedMessages) {
        if (m == msg)
            return true;
    }
    return false;
}

constexpr bool ListedOnce() {
    for (std::size_t i = 0; i < kCrackedMessages.size(); ++i) {
        if (kCrackedMessages[i] == 0)
            return false;  // an unfilled entry
        for (std::size_t j = i + 1; j < kCrackedMessages.size(); ++j) {
            if (kCrackedMessages[i] == kCrackedMessages[j])
                return false;
        }
    }
    return true;
}

template <std::size_t... I>
constexpr bool EveryListedMessageHasACracker(std::index_sequence<I...>) {
    return (Cracker<kCrackedMessages[I]>::kKnown && ...);
}

}  // namespace detail

static_assert(detail::ListedOnce(), "kCrackedMessages lists each cracked message once");
static_assert(
    detail::EveryListedMessageHasACracker(std::make_index_sequence<kCrackedMessages.size()>()),
    "every message in kCrackedMessages has a cracker");

}  // namespace win
