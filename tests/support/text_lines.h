// A text file's lines as the tests compare them: split at "\n", a trailing
// "\r" dropped, no empty line after the last line break.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out.push_back(line);
        at = end + 1;
    }
    return out;
}

}  // namespace testsupport
