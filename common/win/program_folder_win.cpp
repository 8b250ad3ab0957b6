#include "common/win/program_folder_win.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

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

std::string LoadModuleString(HMODULE module, UINT id, int bufferSize) {
    if (module == nullptr || bufferSize <= 0)
        return {};
    std::vector<char> buffer(static_cast<std::size_t>(bufferSize), '\0');
    const int length = LoadStringA(module, id, buffer.data(), bufferSize);
    if (length <= 0)
        return {};
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace win
