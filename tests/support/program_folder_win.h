// The folders a Windows test run names in its environment: MOUSE_DIST, the
// built program folder, and MOUSE_TEST_BIN, the test helper programs. Each
// comes back as a Windows path with its trailing backslash (a Linux path is
// drive Z: under Wine), or empty when the run names none.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

inline std::string WindowsFolder(std::string folder) {
    if (folder.empty())
        return folder;
    if (folder[0] == '/')
        folder = "Z:" + folder;
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    if (folder.back() != '\\')
        folder.push_back('\\');
    return folder;
}

inline std::string EnvironmentFolder(const char* variable) {
    char value[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA(variable, value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return {};
    return WindowsFolder(std::string(value, length));
}

inline std::string DistFolder() {
    return EnvironmentFolder("MOUSE_DIST");
}

inline std::string TestBinFolder() {
    return EnvironmentFolder("MOUSE_TEST_BIN");
}

}  // namespace testsupport
