// Test host of the macro manager: Option's own dialog code (option_win) run
// over the macro store of this program's folder, without the button page
// that opens it in Option. The host's window stands in for Option's main
// window: WM_CLOSE ends the open dialogs the way Option's window does, and
// message kMsgDestroyOwner destroys the owner under the open manager.
//
// Command line: the name of the macro to open the manager on. After the
// manager the host reports the store as debug texts ("host store N",
// "host macro <name> <events> <repeat>") and ends.
#include <windows.h>
#include <ole2.h>

#include <string>

#include "common/settings/ini_file_win.h"
#include "option/macro_file_system_win.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/dialogs/owned_dialogs_win.h"
#include "option/key_capture_hook_win.h"
#include "option/macro_file_system_win.h"
#include "option/model/dialogs/macro_store.h"
#include "option/option_globals_win.h"
#include "option/skin/skin_hint_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_menu_win.h"
#include "tests/e2e/macros/macro_host_protocol.h"

namespace {

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CLOSE:
            option::CloseOwnedDialogs(hwnd);
            DestroyWindow(hwnd);
            return 0;
        case macro_host::kMsgDestroyOwner:
            DestroyWindow(hwnd);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    const std::string folder = win::ProgramFolder();
    option::Globals().programFolder = folder;
    skin::SetSkinFolder(folder + "skins\\");
    option::Globals().language.Reset(LoadLibraryA((folder + "lan.dll").c_str()));
    skin::RegisterSkinMessages();
    skin::CCoolMenu::Install();

    WNDCLASSA wc{};
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = instance;
    wc.lpszClassName = "MacroManagerHost";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, wc.lpszClassName, macro_host::kHostTitle, WS_OVERLAPPEDWINDOW,
                                 0, 0, 200, 100, nullptr, nullptr, instance, nullptr);

    option::MacroFileSystem files;
    option::MacroFileStore store(files.Files(), folder);
    store.Load();
    // As Option does after the manager: OK saves, anything else reads the
    // file again.
    if (option::RunMacroManager(owner, store, commandLine)) {
        store.Save();
    } else {
        store.Clear();
        store.Load();
    }

    win::DebugText(macro_host::kTraceHook, option::KeyHookInstalled() ? 1 : 0);
    win::DebugText(macro_host::kTraceStore, store.Count());
    for (int i = 0; i < store.Count(); ++i) {
        const option::MacroRecord& r = *store.MacroAt(i);
        win::DebugText(macro_host::kTraceMacro, option::NameOf(r.name, sizeof r.name).c_str(),
                       r.eventCount, r.repeatValue);
    }
    if (IsWindow(owner))
        DestroyWindow(owner);
    skin::CCoolMenu::Uninstall();
    if (ole)
        OleUninitialize();
    return 0;
}
