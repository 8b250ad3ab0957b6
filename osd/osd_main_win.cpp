// VantorOSD.exe: the on-screen display program that Monitor starts from the
// program folder. One runs at a time; it idles in its message loop (no timer
// runs while nothing is on the screen) until it is told to close or the
// program that started it has ended.
#include <windows.h>

#include "common/protocol.h"
#include "common/win/crash_dump_win.h"
#include "common/win/dpi_win.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "common/win/text_mode_win.h"
#include "osd/osd_window_win.h"
#include "osd/starter_watch_win.h"

namespace {

// Runs the thread's messages until WM_QUIT; ends the window when `starter`
// (if any) is signalled. The exit code of WM_QUIT.
int RunMessages(HWND window, HANDLE starter) {
    for (;;) {
        const DWORD handles = starter != nullptr ? 1 : 0;
        const DWORD woke =
            MsgWaitForMultipleObjects(handles, &starter, FALSE, INFINITE, QS_ALLINPUT);
        if (handles == 1 && woke == WAIT_OBJECT_0) {
            starter = nullptr;
            if (IsWindow(window))
                DestroyWindow(window);
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    win::InstallCrashDumps(L"VantorOSD");
    win::BecomeDpiAware();
    // Another display window (this program or any other that serves the
    // title) already gets Monitor's notices; a second would only duplicate
    // them. The mutex settles two that start at the same moment.
    if (FindWindowA(nullptr, protocol::kOsdTitle) != nullptr)
        return 0;
    win::ScopedHandle single(CreateMutexA(nullptr, FALSE, protocol::kOsdInstanceMutex));
    if (!single || GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;

    const osd::Starter starter = osd::OpenStarter();
    if (starter.state == osd::Starter::State::Gone)
        return 0;

    win::TextModeLine();
    osd::COsdWnd window(win::ProgramFolder());
    if (!window.CreateHidden())
        return 1;
    return RunMessages(window.Hwnd(), starter.process.Get());
}
