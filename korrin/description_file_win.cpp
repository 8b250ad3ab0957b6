// The device description in use: korrin-device.ini beside the library when
// there is one, else the built-in description. Read once, on first use (never
// under the loader lock), and said once in the diagnostics.
#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"
#include "korrin/hid_system_win.h"

namespace korrin {

namespace {

// A description is a few dozen lines; anything this large is not one.
constexpr DWORD kLargestFile = 256 * 1024;

std::wstring LibraryFolderW() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&LibraryFolderW), &module);
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring folder = n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
    const std::size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

DescriptionLoad Load() {
    const std::wstring path = LibraryFolderW() + L"korrin-device.ini";
    const std::string name = NarrowText(path.c_str());
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

}  // namespace

const DescriptionLoad& DescriptionInUse() {
    static const DescriptionLoad load = [] {
        DescriptionLoad loaded = Load();
        if (loaded.source != "built-in" || !loaded.problem.empty())
            Diagnostics().Line(DescriptionLine(loaded));
        return loaded;
    }();
    return load;
}

}  // namespace korrin
