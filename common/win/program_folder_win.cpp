#include "common/win/program_folder_win.h"

#include "common/win/text_mode_win.h"
#include "common/win/wide_text_win.h"

#include <cstdarg>
#include <cstdio>

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

}  // namespace win
