// TEMPORARY while the dialogs are being built on their branches: each branch
// deletes its own functions from this file; the file goes when it is empty.
#include "option/dialogs/option_dialogs_win.h"

namespace option {

// --- DPI colour dialog ---
bool RunDpiColorDialog(HWND, std::uint32_t&) {
    return false;
}

// --- macro manager and the macro-required warning ---
void RunMacroManager(HWND, MacroFileStore&, std::string_view) {}
void ShowMacroSetWarning(HWND) {}

}  // namespace option
