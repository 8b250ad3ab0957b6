// Message maps as data. Each window class lists its rows (message,
// notification code, control id range, handler) in one static table;
// Window::Dispatch walks it, and the matching row decodes WPARAM and LPARAM
// into typed arguments, so handlers never see the raw parameters.
//
// Which parameter carries what is decided by the message, never guessed from
// the handler's parameter types:
//   OnMessage<WM_x, &C::OnX>()
//       A system message (below WM_USER). Its cracker in message_crackers.h
//       gives the arguments: the handler takes none of them, or all of them
//       in order with their exact types (by value or const&). Anything else,
//       or a system message without a cracker, fails to compile.
//   OnMessage<kMsgOurs, &C::OnX>()        (WM_USER up to 0xBFFF)
//   OnRegistered<&C::OnX>(registeredMessage)
//       Our own messages: their parameters mean what we say, so the handler
//       names them: (), (WParam<A>), (LParam<B>) or (WParam<A>, LParam<B>),
//       each read as an integer, enum, bool or pointer, used as `.value`.
//   OnCommand / OnCommandRange / OnControl / OnNotify
//       WM_COMMAND and WM_NOTIFY routed by control id and notification code;
//       the handler takes (), (id) or (id, code).
// A handler returning void yields 0; any other return (an integer, bool or a
// handle such as a brush) is the message's result.
//
// A row belongs to the class its handler is a member of. A handler that a
// base class defines for the classes derived from it names the window class
// after the handler, OnMessage<WM_x, &Base::OnX, Derived>(), and JoinRows
// puts such shared rows and a class's own into the class's one table; the
// groups of rows that many windows share (the window base in window.h holds
// them) join a table the same way. OnMessages<&C::OnX, WM_a, WM_b>() gives
// the rows of several messages one handler serves alike.
#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <tuple>
#include <type_traits>
#include <vector>

#include "common/win/message_crackers.h"
#include "common/win/message_key.h"

namespace win {

struct Message {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A parameter of one of our own messages, named by the handler.
template <class T>
struct WParam {
    static_assert(crack::kReadable<T>, "WParam<T>: T is an integer, enum, bool or pointer");
    T value;
};
template <class T>
struct LParam {
    static_assert(crack::kReadable<T>, "LParam<T>: T is an integer, enum, bool or pointer");
    T value;
};

// A registered message, resolved on first use.
class RegisteredMessage {
  public:
    explicit constexpr RegisteredMessage(const char* name) : name_(name) {}
    UINT Id() const;
    constexpr const char* Name() const { return name_; }

  private:
    const char* name_;
    mutable UINT id_ = 0;
};

template <class T>
struct MessageRow {
    MessageKey key;
    const RegisteredMessage* registered;
    LRESULT (*invoke)(T&, const Message&);
};

namespace detail {

template <auto Handler>
struct Traits;

template <class T, class R, class... Args, R (T::*Handler)(Args...)>
struct Traits<Handler> {
    using Class = T;
    using Result = R;
    using Params = std::tuple<Args...>;
};

template <class T, class R, class... Args, R (T::*Handler)(Args...) const>
struct Traits<Handler> {
    using Class = T;
    using Result = R;
    using Params = std::tuple<Args...>;
};

template <auto Handler>
using ClassOf = typename Traits<Handler>::Class;

// A row of window class T may call a handler of T or of a base class of T.
template <auto Handler, class T>
constexpr bool kMemberOf = std::is_base_of_v<ClassOf<Handler>, T>;

template <class R>
constexpr bool kResultFits =
    std::is_void_v<R> || std::is_integral_v<R> || std::is_enum_v<R> || std::is_pointer_v<R>;

template <class R, class Call>
LRESULT Invoke(Call&& call) {
    static_assert(kResultFits<R>, "a handler returns void, an integer, bool, enum or handle");
    if constexpr (std::is_void_v<R>) {
        call();
        return 0;
    } else if constexpr (std::is_pointer_v<R>) {
        return reinterpret_cast<LRESULT>(call());
    } else {
        return static_cast<LRESULT>(call());
    }
}

// ---- system messages: the cracker decides ------------------------------------

// A handler parameter takes a cracked argument of type C by value or const&.
template <class P, class C>
constexpr bool kParamTakes = std::is_same_v<std::remove_cvref_t<P>, C> &&
                             (!std::is_reference_v<P> ||
                              std::is_const_v<std::remove_reference_t<P>>);

template <class Params, class Cracked>
struct TakesAll : std::false_type {};
template <class... P, class... C>
requires(sizeof...(P) == sizeof...(C)) struct TakesAll<std::tuple<P...>, std::tuple<C...>>
    : std::bool_constant<(kParamTakes<P, C> && ...)> {
};

template <UINT Msg, auto Handler, bool = Cracker<Msg>::kKnown>
constexpr bool kFitsCracker = false;
template <UINT Msg, auto Handler>
constexpr bool kFitsCracker<Msg, Handler, true> =
    std::tuple_size_v<typename Traits<Handler>::Params> == 0 ||
    TakesAll<typename Traits<Handler>::Params, typename Cracker<Msg>::Args>::value;

// The handler's own class is reached from the window first, so that a base
// class's handler runs on its part of the window object.
template <UINT Msg, auto Handler, class T>
LRESULT CallCracked(T& window, const Message& m) {
    ClassOf<Handler>& self = window;
    using R = typename Traits<Handler>::Result;
    return Invoke<R>([&]() -> R {
        if constexpr (std::tuple_size_v<typename Traits<Handler>::Params> == 0) {
            return (self.*Handler)();
        } else {
            const auto args = Cracker<Msg>::Decode(m.wParam, m.lParam);
            return std::apply([&](const auto&... a) -> R { return (self.*Handler)(a...); }, args);
        }
    });
}

// ---- our own messages: the handler names its parameters ----------------------

template <class P>
struct ParamKind {
    static constexpr int kOrder = 0;  // not a named parameter
};
template <class T>
struct ParamKind<WParam<T>> {
    static constexpr int kOrder = 1;
};
template <class T>
struct ParamKind<LParam<T>> {
    static constexpr int kOrder = 2;
};

template <class Params>
struct NamesItsParameters : std::false_type {};
template <class... P>
struct NamesItsParameters<std::tuple<P...>> {
    static constexpr int kOrders[] = {0, ParamKind<std::remove_cvref_t<P>>::kOrder...};
    static constexpr bool Check() {
        // Each parameter is a WParam or an LParam, at most one of each, wParam first.
        for (std::size_t i = 1; i <= sizeof...(P); ++i) {
            if (kOrders[i] == 0 || kOrders[i] <= kOrders[i - 1])
                return false;
        }
        return true;
    }
    static constexpr bool value = Check();
};

template <class P>
std::remove_cvref_t<P> ReadNamed(const Message& m) {
    using Named = std::remove_cvref_t<P>;
    using T = decltype(Named::value);
    if constexpr (ParamKind<Named>::kOrder == 1) {
        return Named{crack::Read<T>(m.wParam)};
    } else {
        return Named{crack::Read<T>(m.lParam)};
    }
}

template <auto Handler, class T, class Params = typename Traits<Handler>::Params>
struct CallOwn;
template <auto Handler, class T, class... P>
struct CallOwn<Handler, T, std::tuple<P...>> {
    static LRESULT Call(T& window, const Message& m) {
        ClassOf<Handler>& self = window;
        using R = typename Traits<Handler>::Result;
        return Invoke<R>([&]() -> R { return (self.*Handler)(ReadNamed<P>(m)...); });
    }
};

template <auto Handler>
constexpr bool kNamesItsParameters = NamesItsParameters<typename Traits<Handler>::Params>::value;

// ---- WM_COMMAND and WM_NOTIFY: id and code -----------------------------------

template <class Params>
struct TakesIds : std::false_type {};
template <class... P>
struct TakesIds<std::tuple<P...>>
    : std::bool_constant<(sizeof...(P) <= 2) &&
                         (std::is_integral_v<std::remove_cvref_t<P>> && ...)> {};

template <auto Handler, class T>
LRESULT CallWithIds(T& window, const Message& m) {
    ClassOf<Handler>& self = window;
    using R = typename Traits<Handler>::Result;
    using Params = typename Traits<Handler>::Params;
    const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
    const UINT id = m.msg == WM_NOTIFY ? static_cast<UINT>(header->idFrom) : LOWORD(m.wParam);
    const UINT code = m.msg == WM_NOTIFY ? header->code : HIWORD(m.wParam);
    return Invoke<R>([&]() -> R {
        if constexpr (std::tuple_size_v<Params> == 0) {
            return (self.*Handler)();
        } else if constexpr (std::tuple_size_v<Params> == 1) {
            return (self.*Handler)(id);
        } else {
            return (self.*Handler)(id, code);
        }
    });
}

template <auto Handler, class T>
constexpr MessageRow<T> ControlRow(UINT msg, UINT code, UINT first, UINT last) {
    static_assert(kMemberOf<Handler, T>, "the handler is a member of the row's window class");
    static_assert(TakesIds<typename Traits<Handler>::Params>::value,
                  "command and notification handlers take (), (id) or (id, code)");
    if constexpr (TakesIds<typename Traits<Handler>::Params>::value) {
        return {MessageKey{msg, code, first, last, true, nullptr}, nullptr,
                &CallWithIds<Handler, T>};
    } else {
        return {MessageKey{msg, code, first, last, true, nullptr}, nullptr, nullptr};
    }
}

}  // namespace detail

// Is `Handler` a fitting handler for message `Msg`? What OnMessage checks.
template <UINT Msg, auto Handler>
constexpr bool kHandlerFits =
    Msg < WM_USER ? detail::kFitsCracker<Msg, Handler> : detail::kNamesItsParameters<Handler>;

template <UINT Msg, auto Handler, class T = detail::ClassOf<Handler>>
constexpr MessageRow<T> OnMessage() {
    static_assert(detail::kMemberOf<Handler, T>,
                  "the handler is a member of the row's window class");
    static_assert(Msg < 0xC000, "messages from 0xC000 up are registered: use OnRegistered");
    static_assert(Msg != WM_COMMAND && Msg != WM_NOTIFY,
                  "WM_COMMAND and WM_NOTIFY rows are OnCommand, OnCommandRange, OnControl or "
                  "OnNotify");
    const MessageKey key{Msg, 0, 0, 0, false, nullptr};
    if constexpr (Msg < WM_USER) {
        static_assert(Cracker<Msg>::kKnown,
                      "this system message has no cracker: add one to message_crackers.h");
        static_assert(!Cracker<Msg>::kKnown || detail::Listed(Msg),
                      "a cracker missing from kCrackedMessages is never tested: list it");
        static_assert(!Cracker<Msg>::kKnown || detail::kFitsCracker<Msg, Handler>,
                      "the handler does not take what this message carries: it takes no "
                      "arguments, or exactly the arguments of the message's cracker");
        if constexpr (detail::kFitsCracker<Msg, Handler>) {
            return {key, nullptr, &detail::CallCracked<Msg, Handler, T>};
        } else {
            return {key, nullptr, nullptr};
        }
    } else {
        static_assert(detail::kNamesItsParameters<Handler>,
                      "a handler of our own message names its parameters: (), (WParam<A>), "
                      "(LParam<B>) or (WParam<A>, LParam<B>)");
        if constexpr (detail::kNamesItsParameters<Handler>) {
            return {key, nullptr, &detail::CallOwn<Handler, T>::Call};
        } else {
            return {key, nullptr, nullptr};
        }
    }
}

// Rows of several system or own messages that one handler serves alike; the
// handler fits each of them as OnMessage requires.
template <auto Handler, UINT... Msgs>
constexpr std::array<MessageRow<detail::ClassOf<Handler>>, sizeof...(Msgs)> OnMessages() {
    return {OnMessage<Msgs, Handler>()...};
}

template <auto Handler, class T = detail::ClassOf<Handler>>
constexpr MessageRow<T> OnRegistered(const RegisteredMessage& msg) {
    static_assert(detail::kMemberOf<Handler, T>,
                  "the handler is a member of the row's window class");
    static_assert(detail::kNamesItsParameters<Handler>,
                  "a handler of a registered message names its parameters: (), (WParam<A>), "
                  "(LParam<B>) or (WParam<A>, LParam<B>)");
    const MessageKey key{0, 0, 0, 0, false, msg.Name()};
    if constexpr (detail::kNamesItsParameters<Handler>) {
        return {key, &msg, &detail::CallOwn<Handler, T>::Call};
    } else {
        return {key, &msg, nullptr};
    }
}

// WM_COMMAND from a menu, an accelerator or any control notification of `id`.
template <auto Handler, class T = detail::ClassOf<Handler>>
constexpr MessageRow<T> OnCommand(UINT id) {
    return detail::ControlRow<Handler, T>(WM_COMMAND, kAnyCode, id, id);
}

template <auto Handler, class T = detail::ClassOf<Handler>>
constexpr MessageRow<T> OnCommandRange(UINT first, UINT last) {
    return detail::ControlRow<Handler, T>(WM_COMMAND, kAnyCode, first, last);
}

// WM_COMMAND with one notification code from control `id`.
template <auto Handler, class T = detail::ClassOf<Handler>>
constexpr MessageRow<T> OnControl(UINT code, UINT id) {
    return detail::ControlRow<Handler, T>(WM_COMMAND, code, id, id);
}

template <auto Handler, class T = detail::ClassOf<Handler>>
constexpr MessageRow<T> OnNotify(UINT code, UINT id) {
    return detail::ControlRow<Handler, T>(WM_NOTIFY, code, id, id);
}

// One table out of several parts, in their order: the rows a base class
// shares with the classes derived from it, then a class's own. The first
// matching row handles a message, so the parts are checked for overlaps as
// one table.
template <class T, std::size_t... N>
constexpr std::array<MessageRow<T>, (N + ...)> JoinRows(
    const std::array<MessageRow<T>, N>&... parts) {
    std::array<MessageRow<T>, (N + ...)> rows{};
    std::size_t next = 0;
    ((std::copy(parts.begin(), parts.end(), rows.begin() + next), next += N), ...);
    return rows;
}

template <class T>
bool RowMatches(const MessageRow<T>& row, const Message& m) {
    if (row.registered != nullptr)
        return row.registered->Id() != 0 && m.msg == row.registered->Id();
    if (row.key.message != m.msg)
        return false;
    if (!row.key.byControl)
        return true;
    UINT id = 0;
    UINT code = 0;
    if (m.msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
        if (header == nullptr)
            return false;
        id = static_cast<UINT>(header->idFrom);
        code = header->code;
    } else {
        id = LOWORD(m.wParam);
        code = HIWORD(m.wParam);
    }
    if (row.key.code != kAnyCode && row.key.code != code)
        return false;
    return id >= row.key.idFirst && id <= row.key.idLast;
}

// True when no row of the table can shadow a later one. The first matching
// row handles a message, so a shadowed row's handler would silently never
// run; every table is therefore declared constexpr and checked where it is
// defined:
//   static constexpr Row rows[] = {...};
//   static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed");
template <class T>
constexpr bool NoRowShadowed(std::span<const MessageRow<T>> rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = i + 1; j < rows.size(); ++j) {
            if (RowsOverlap(rows[i].key, rows[j].key))
                return false;
        }
    }
    return true;
}
template <class T, std::size_t N>
constexpr bool NoRowShadowed(const MessageRow<T> (&rows)[N]) {
    return NoRowShadowed(std::span<const MessageRow<T>>(rows));
}
template <class T, std::size_t N>
constexpr bool NoRowShadowed(const std::array<MessageRow<T>, N>& rows) {
    return NoRowShadowed(std::span<const MessageRow<T>>(rows));
}

namespace detail {
// Not constexpr: reaching it while a table is made at compile time stops the
// build, and the error names it.
inline void ARowOfThisTableIsShadowedByAnEarlierOne() {}
}  // namespace detail

// The table, checked as it is made, for the helpers that build a class's
// table out of parts: a shadowed row stops the build where the table is
// defined, so the class needs no static_assert of its own.
template <class T, std::size_t N>
consteval std::array<MessageRow<T>, N> Checked(const std::array<MessageRow<T>, N>& rows) {
    if (!NoRowShadowed(rows))
        detail::ARowOfThisTableIsShadowedByAnEarlierOne();
    return rows;
}

// The routing keys of a table, for overlap checks.
template <class T>
std::vector<MessageKey> KeysOf(std::span<const MessageRow<T>> rows) {
    std::vector<MessageKey> keys;
    keys.reserve(rows.size());
    for (const auto& row : rows) keys.push_back(row.key);
    return keys;
}

}  // namespace win
