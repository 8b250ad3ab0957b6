// printf formatting into a string: the whole text, however long.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

namespace text {

inline std::string FormatArgs(const char* format, va_list args)
    __attribute__((format(printf, 1, 0)));
inline std::string FormatArgs(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0)
        return {};
    std::string formatted(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(formatted.data(), formatted.size() + 1, format, args);
    return formatted;
}

inline std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string formatted = FormatArgs(format, args);
    va_end(args);
    return formatted;
}

}  // namespace text
