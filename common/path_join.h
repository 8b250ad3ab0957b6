// Paths joined in one place: a folder and a name below it get exactly one
// backslash between them, whether the folder already ends in a separator
// (the program folder does) or the name starts with one. Both separators,
// backslash and slash, are recognised; a backslash is what is added.
#pragma once

#include <string>
#include <string_view>

namespace paths {

namespace detail {

template <class Char>
constexpr bool IsSeparator(Char c) {
    return c == Char('\\') || c == Char('/');
}

template <class Char>
std::basic_string<Char> Join(std::basic_string_view<Char> folder,
                             std::basic_string_view<Char> name) {
    if (folder.empty())
        return std::basic_string<Char>(name);
    while (folder.size() > 1 && IsSeparator(folder.back()) &&
           IsSeparator(folder[folder.size() - 2]))
        folder.remove_suffix(1);
    while (!name.empty() && IsSeparator(name.front())) name.remove_prefix(1);
    std::basic_string<Char> joined;
    joined.reserve(folder.size() + 1 + name.size());
    joined.append(folder);
    if (!IsSeparator(folder.back()))
        joined.push_back(Char('\\'));
    joined.append(name);
    return joined;
}

}  // namespace detail

// `name` below `folder`; an empty name gives the folder with one trailing
// separator, an empty folder the name as it is.
inline std::string JoinPath(std::string_view folder, std::string_view name) {
    return detail::Join(folder, name);
}
inline std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    return detail::Join(folder, name);
}

}  // namespace paths
