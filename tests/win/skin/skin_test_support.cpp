#include "tests/win/skin/skin_test_support.h"

#include <cstdio>
#include <cstdlib>

namespace skintest {

std::string FreshFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "skin_test_" + name + "_" +
                               std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void Pump(DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    MSG m;
    do {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(5);
    } while (GetTickCount() < until);
}

std::vector<std::string> Lines(const std::vector<std::string>& log, const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& line : log)
        if (line.compare(0, prefix.size(), prefix) == 0)
            out.push_back(line);
    return out;
}

bool Contains(const std::vector<std::string>& log, const std::string& line) {
    for (const auto& l : log)
        if (l == line)
            return true;
    return false;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    if (bitmap == nullptr)
        return CLR_INVALID;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

bool WriteBytes(const std::string& path, const void* data, std::size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    std::fclose(f);
    return ok;
}

std::string ArtifactsFolder() {
    const char* env = std::getenv("MOUSE_ARTIFACTS");
    if (env == nullptr || *env == '\0')
        return {};
    std::string folder = env;
    if (folder[0] == '/') {
        // A Linux path as given to the test runner: drive Z: under Wine.
        for (char& c : folder)
            if (c == '/')
                c = '\\';
        folder = "Z:" + folder;
    }
    if (folder.back() != '\\')
        folder.push_back('\\');
    // Create every level.
    for (std::size_t i = 3; i < folder.size(); ++i)
        if (folder[i] == '\\')
            CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
    return folder;
}

}  // namespace skintest
