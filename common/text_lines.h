// Text as lines: split at "\n", a trailing "\r" of each line dropped, so that
// files written with either line end read the same.
#pragma once

#include <string>
#include <vector>

namespace text {

inline void AppendLines(const std::string& text, std::vector<std::string>& lines) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        at = end + 1;
    }
}

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    AppendLines(text, lines);
    return lines;
}

}  // namespace text
