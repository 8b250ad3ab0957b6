// Where a Windows test keeps its screenshots: the folder the test run names
// in MOUSE_ARTIFACTS (a Linux path is drive Z: under Wine), plus `subfolder`,
// created level by level. Empty when the run names none.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

namespace testsupport {

inline std::string ArtifactsFolder(const std::string& subfolder = {}) {
    const char* env = std::getenv("MOUSE_ARTIFACTS");
    if (env == nullptr || *env == '\0')
        return {};
    std::string folder = env;
    if (folder[0] == '/') {
        for (char& c : folder)
            if (c == '/')
                c = '\\';
        folder = "Z:" + folder;
    }
    if (folder.back() != '\\')
        folder.push_back('\\');
    if (!subfolder.empty())
        folder += subfolder + "\\";
    for (std::size_t i = 3; i < folder.size(); ++i)
        if (folder[i] == '\\')
            CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
    return folder;
}

}  // namespace testsupport
