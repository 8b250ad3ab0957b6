#include "common/win/program_folder_win.h"

#include "common/win/text_mode_win.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace win {

std::wstring ModulePathWide(HMODULE module) {
    // Long enough for any path the system hands out, \\?\ ones included.
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return {};
    path.resize(length);
    return path;
}

std::string ModuleFolder(HMODULE module) {
    std::wstring path = ModulePathWide(module);
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return {};
    // The folder alone: a short form exists for it whatever the file's name.
    path.resize(slash);
    const std::string folder = PathForAnsiCalls(path);
    return folder.empty() ? folder : folder + "\\";
}

std::string ProgramFolder() {
    return ModuleFolder(nullptr);
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
