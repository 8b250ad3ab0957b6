// Text across the system boundary: our strings are UTF-8 (older files and
// some system answers are in a code page), the system's are UTF-16. Where an
// ANSI call could not carry a text whatever the process's code page (window
// texts, drawn names), the UTF-8 text goes through these to the wide call.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win {

inline std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty())
        return {};
    const int size =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0)
        return {};
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

inline std::string Narrow(const wchar_t* text, UINT codePage) {
    const int size = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

inline std::wstring Wide(std::string_view utf8) {
    return Widen(utf8, CP_UTF8);
}

inline std::string Utf8(const wchar_t* text) {
    return Narrow(text, CP_UTF8);
}

inline BOOL SetWindowTextUtf8(HWND window, std::string_view utf8) {
    return SetWindowTextW(window, Wide(utf8).c_str());
}

inline std::string WindowTextUtf8(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return Utf8(text.c_str());
}

inline int DrawTextUtf8(HDC dc, std::string_view utf8, RECT* rect, UINT format) {
    std::wstring text = Wide(utf8);
    return DrawTextW(dc, text.data(), static_cast<int>(text.size()), rect, format);
}

}  // namespace win
