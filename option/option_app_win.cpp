// Option's application object: single instance, the dialog support, the
// popup-menu frame hook around the main window, and the main window run
// modally. The dialog's end is the program's end.
#include <windows.h>

#include "common/protocol.h"
#include "common/win/crash_dump_win.h"
#include "common/win/dpi_win.h"
#include "common/win/late_function_win.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "common/win/text_mode_win.h"
#include "option/option_dlg_win.h"
#include "option/option_globals_win.h"
#include "option/skin/skin_hint_win.h"
#include "option/skin/keyboard_nav_win.h"
#include "option/skin/skin_menu_win.h"
#include "option/skin/skin_text_win.h"
#include "option/skin/start_stages_win.h"

namespace option {

class COptionApp {
  public:
    int Run();

  private:
    win::ScopedHandle instanceMutex_;
};

int COptionApp::Run() {
    instanceMutex_.Reset(CreateMutexA(nullptr, FALSE, protocol::kOptionInstanceMutex));
    if (!instanceMutex_ || GetLastError() == ERROR_ALREADY_EXISTS) {
        // A running Option is brought forward only through Monitor's tray.
        return 0;
    }
    skin::MarkStartStage("WinMain");
    COptionDlg::PrefetchFirstPaint();
    // The controls library is loaded by what first needs it, inside the
    // themed context (skin::ThemedControls): the skinned windows use the plain
    // system controls, so the start loads no controls library at all.
    // OLE is started on this thread when first needed (win::NeedOle).
    win::TextModeLine();
    Globals().programFolder = win::ProgramFolder();
    skin::RegisterSkinMessages();
    skin::SetWordSource({&LanString, &LanguageLocale});
    // The menu frame hook goes in with the main window's first paint.
    skin::InstallKeyboard();
    {
        auto dialog = std::make_unique<COptionDlg>();
        dialog->RunModal();
    }
    skin::UninstallKeyboard();
    skin::CCoolMenu::Uninstall();
    win::EndOle();
    return 0;
}

}  // namespace option

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    win::InstallCrashDumps(L"Option");
    win::BecomeDpiAware();
    option::COptionApp app;
    return app.Run();
}
