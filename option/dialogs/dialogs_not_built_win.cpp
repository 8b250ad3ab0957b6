// TEMPORARY while the dialogs are being built on their branches: each branch
// deletes its own functions from this file; the file goes when it is empty.
#include "option/dialogs/option_dialogs_win.h"

namespace option {

// --- shortcut, fire, launch program, media player, profile dialogs ---
bool RunShortcutDialog(HWND, std::uint8_t&, ShortcutToggles&) {
    return false;
}
bool RunFireDialog(HWND, FireSetting&) {
    return false;
}
bool RunLaunchProgramDialog(HWND, std::string&) {
    return false;
}
bool RunPlayerDialog(HWND, std::int32_t&) {
    return false;
}
bool RunProfileDialog(HWND, ProfileFields&) {
    return false;
}

// --- DPI colour dialog ---
bool RunDpiColorDialog(HWND, std::uint32_t&) {
    return false;
}

// --- macro manager and the macro-required warning ---
void RunMacroManager(HWND, MacroFileStore&, std::string_view) {}
void ShowMacroSetWarning(HWND) {}

}  // namespace option
