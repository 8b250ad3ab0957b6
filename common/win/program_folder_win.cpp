#include "common/win/program_folder_win.h"

#include <cstdarg>
#include <cstdio>

namespace win {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string folder(path, length);
    const auto slash = folder.find_last_of("\\/");
    if (slash == std::string::npos)
        return {};
    folder.resize(slash + 1);
    return folder;
}

void DebugText(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    OutputDebugStringA(text);
}

}  // namespace win
