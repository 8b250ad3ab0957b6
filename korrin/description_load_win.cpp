#include "korrin/description_load_win.h"

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"

namespace korrin {

namespace {

// A description is a few dozen lines; anything this large is not one.
constexpr DWORD kLargestFile = 256 * 1024;

}  // namespace

std::wstring ModuleFolderW(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        static_cast<LPCWSTR>(address), &module);
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring folder = n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
    const std::size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

DescriptionLoad LoadDescriptionFrom(const std::wstring& folder) {
    const std::wstring path = folder + L"korrin-device.ini";
    const std::string name = win::Narrow(path.c_str(), CP_ACP);
    win::ScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        DescriptionLoad builtIn;
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            builtIn.problem = name + ": cannot be read (error " + std::to_string(error) +
                              "); the built-in description is used";
        return builtIn;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargestFile) {
        DescriptionLoad builtIn;
        builtIn.problem = name + ": larger than " + std::to_string(kLargestFile / 1024) +
                          " KB, not a description; the built-in description is used";
        return builtIn;
    }
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!text.empty() &&
        !ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) {
        DescriptionLoad builtIn;
        builtIn.problem = name + ": cannot be read (error " + std::to_string(GetLastError()) +
                          "); the built-in description is used";
        return builtIn;
    }
    text.resize(read);
    return ParseDescription(text, name);
}

}  // namespace korrin
