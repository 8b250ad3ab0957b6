// Message maps as data. Each window class lists rows (message, notification
// code, control id range, handler) in one static table; Window::Dispatch walks
// it and decodes WPARAM and LPARAM into the handler's own parameter types, so
// handlers never see the raw parameters.
//
// Decoding by handler signature:
//   OnMessage   ()               nothing
//               (A)              integral or enum A from wParam; pointer or
//                                reference A from lParam
//               (A, B)           A from wParam, B from lParam
//   OnCommand / OnCommandRange / OnControl / OnNotify
//               ()               nothing
//               (id)             the control or command id
//               (id, code)       id and notification code
// A handler returning void yields 0; any other return is converted to LRESULT.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <tuple>
#include <type_traits>
#include <vector>

#include "common/win/message_key.h"

namespace win {

struct Message {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A registered message, resolved on first use.
class RegisteredMessage {
public:
    explicit constexpr RegisteredMessage(const char* name) : name_(name) {}
    UINT Id() const;
    const char* Name() const { return name_; }

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

template <class A>
A DecodeParam(std::uintptr_t raw) {
    if constexpr (std::is_reference_v<A>) {
        return *reinterpret_cast<std::remove_reference_t<A>*>(raw);
    } else if constexpr (std::is_pointer_v<A>) {
        return reinterpret_cast<A>(raw);
    } else {
        return static_cast<A>(raw);
    }
}

template <class A>
constexpr bool kFromLParam = std::is_pointer_v<A> || std::is_reference_v<A>;

template <class R, class Call>
LRESULT Invoke(Call&& call) {
    if constexpr (std::is_void_v<R>) {
        call();
        return 0;
    } else {
        return static_cast<LRESULT>(call());
    }
}

template <auto Handler>
struct Traits;

template <class T, class R, class... Args, R (T::*Handler)(Args...)>
struct Traits<Handler> {
    using Class = T;
    using Result = R;
    static constexpr std::size_t kArity = sizeof...(Args);

    static LRESULT CallWithParams(T& self, const Message& m) {
        return Invoke<R>([&]() -> R {
            if constexpr (kArity == 0) {
                return (self.*Handler)();
            } else if constexpr (kArity == 1) {
                using A = std::tuple_element_t<0, std::tuple<Args...>>;
                const auto raw = kFromLParam<A> ? static_cast<std::uintptr_t>(m.lParam)
                                                : static_cast<std::uintptr_t>(m.wParam);
                return (self.*Handler)(DecodeParam<A>(raw));
            } else {
                static_assert(kArity == 2, "message handlers take at most wParam and lParam");
                using A = std::tuple_element_t<0, std::tuple<Args...>>;
                using B = std::tuple_element_t<1, std::tuple<Args...>>;
                return (self.*Handler)(DecodeParam<A>(static_cast<std::uintptr_t>(m.wParam)),
                                       DecodeParam<B>(static_cast<std::uintptr_t>(m.lParam)));
            }
        });
    }

    static LRESULT CallWithIds(T& self, const Message& m) {
        const UINT id = m.msg == WM_NOTIFY ? static_cast<UINT>(reinterpret_cast<NMHDR*>(m.lParam)->idFrom)
                                           : LOWORD(m.wParam);
        const UINT code = m.msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(m.lParam)->code
                                             : HIWORD(m.wParam);
        return Invoke<R>([&]() -> R {
            if constexpr (kArity == 0) {
                return (self.*Handler)();
            } else if constexpr (kArity == 1) {
                return (self.*Handler)(id);
            } else {
                static_assert(kArity == 2, "command handlers take at most the id and the code");
                return (self.*Handler)(id, code);
            }
        });
    }
};

}  // namespace detail

template <auto Handler>
constexpr MessageRow<typename detail::Traits<Handler>::Class> OnMessage(UINT msg) {
    using Tr = detail::Traits<Handler>;
    return {MessageKey{msg, 0, 0, 0, false, nullptr}, nullptr, &Tr::CallWithParams};
}

template <auto Handler>
constexpr MessageRow<typename detail::Traits<Handler>::Class> OnRegistered(
    const RegisteredMessage& msg) {
    using Tr = detail::Traits<Handler>;
    return {MessageKey{0, 0, 0, 0, false, msg.Name()}, &msg, &Tr::CallWithParams};
}

// WM_COMMAND from a menu, an accelerator or any control notification of `id`.
template <auto Handler>
constexpr MessageRow<typename detail::Traits<Handler>::Class> OnCommand(UINT id) {
    using Tr = detail::Traits<Handler>;
    return {MessageKey{WM_COMMAND, kAnyCode, id, id, true, nullptr}, nullptr, &Tr::CallWithIds};
}

template <auto Handler>
constexpr MessageRow<typename detail::Traits<Handler>::Class> OnCommandRange(UINT first, UINT last) {
    using Tr = detail::Traits<Handler>;
    return {MessageKey{WM_COMMAND, kAnyCode, first, last, true, nullptr}, nullptr, &Tr::CallWithIds};
}

// WM_COMMAND with one notification code from control `id`.
template <auto Handler>
constexpr MessageRow<typename detail::Traits<Handler>::Class> OnControl(UINT code, UINT id) {
    using Tr = detail::Traits<Handler>;
    return {MessageKey{WM_COMMAND, code, id, id, true, nullptr}, nullptr, &Tr::CallWithIds};
}

template <auto Handler>
constexpr MessageRow<typename detail::Traits<Handler>::Class> OnNotify(UINT code, UINT id) {
    using Tr = detail::Traits<Handler>;
    return {MessageKey{WM_NOTIFY, code, id, id, true, nullptr}, nullptr, &Tr::CallWithIds};
}

template <class T>
bool RowMatches(const MessageRow<T>& row, const Message& m) {
    if (row.registered != nullptr) return row.registered->Id() != 0 && m.msg == row.registered->Id();
    if (row.key.message != m.msg) return false;
    if (!row.key.byControl) return true;
    UINT id = 0;
    UINT code = 0;
    if (m.msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
        if (header == nullptr) return false;
        id = static_cast<UINT>(header->idFrom);
        code = header->code;
    } else {
        id = LOWORD(m.wParam);
        code = HIWORD(m.wParam);
    }
    if (row.key.code != kAnyCode && row.key.code != code) return false;
    return id >= row.key.idFirst && id <= row.key.idLast;
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
