#include "tests/win/option/skin/skin_test_support.h"

#include <cstdio>
#include <cstdlib>

#include "tests/support/artifacts_folder_win.h"

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
    return testsupport::ArtifactsFolder();
}

}  // namespace skintest
