// Plays another application for the runtime tests. Every start appends a line
// "started <own file name> [<command line>]" to started.log in its folder.
// With "/window" it also shows a window titled "Stand-in Program", brings it
// to the foreground and stays until that window is closed (at most a minute).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // Wide: the folder it is started from may be named in any script; its
    // own name goes into the log in UTF-8.
    wchar_t path[32768] = {};
    GetModuleFileNameW(nullptr, path, 32768);
    const std::wstring self = path;
    const std::size_t slash = self.find_last_of(L'\\');
    const std::wstring log = self.substr(0, slash + 1) + L"started.log";
    const std::wstring name = self.substr(slash + 1);
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, name.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    const char* line = commandLine != nullptr ? commandLine : "";
    if (FILE* file = _wfopen(log.c_str(), L"ab")) {
        std::fprintf(file, "started %s [%s]\n", utf8, line);
        std::fclose(file);
    }
    if (std::strstr(line, "/window") == nullptr)
        return 0;

    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "E2EStandInProgram";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Stand-in Program",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 320, 200, nullptr,
                                nullptr, instance, nullptr);
    SetForegroundWindow(hwnd);
    SetTimer(hwnd, 1, 60000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            DestroyWindow(hwnd);
        DispatchMessageA(&msg);
    }
    return 0;
}
