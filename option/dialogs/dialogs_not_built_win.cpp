// TEMPORARY while the dialogs are being built on their branches: each branch
// deletes its own functions from this file; the file goes when it is empty.
#include "option/dialogs/option_dialogs_win.h"

namespace option {

// --- macro manager and the macro-required warning ---
void RunMacroManager(HWND, MacroFileStore&, std::string_view) {}
void ShowMacroSetWarning(HWND) {}

// --- click and reset warnings ---
void ShowClickWarning(HWND) {}
bool AskResetDefaults(HWND) {
    return false;
}

}  // namespace option
