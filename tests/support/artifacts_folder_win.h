// Where a Windows test keeps its screenshots: the folder the test run names
// in MOUSE_ARTIFACTS (a Linux path is drive Z: under Wine), plus `subfolder`,
// created level by level. Empty when the run names none.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/program_folder_win.h"

namespace testsupport {

inline std::string ArtifactsFolder(const std::string& subfolder = {}) {
    std::string folder = EnvironmentFolder("MOUSE_ARTIFACTS");
    if (folder.empty())
        return {};
    if (!subfolder.empty())
        folder += subfolder + "\\";
    for (std::size_t i = 3; i < folder.size(); ++i)
        if (folder[i] == '\\')
            CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
    return folder;
}

}  // namespace testsupport
