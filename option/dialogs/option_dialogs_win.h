// The modal skinned dialogs of Option, as the pages and the main window run
// them. Each returns when the user has closed it; those that edit a value
// return true on OK and leave their arguments as the user set them, and
// leave them untouched otherwise.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "option/model/pages/button_assignment.h"
#include "option/model/dialogs/profile_fields.h"

namespace option {

class MacroFileStore;

// Shortcut dialog ("skin_shortcut.ini"): a key captured through the key
// capture hook and the five modifier toggles.
bool RunShortcutDialog(HWND owner, std::uint8_t& keyCode, ShortcutToggles& toggles);
// Fire button dialog ("skin_fire_button.ini").
bool RunFireDialog(HWND owner, FireSetting& fire);
// Launch-program dialog ("skin_lanuch_program.ini") with its file dialog.
bool RunLaunchProgramDialog(HWND owner, std::string& path);
// Media player dialog ("skin_select_player.ini"): the player number.
bool RunPlayerDialog(HWND owner, std::int32_t& player);
// Profile name and game program dialog ("skin_profile.ini").
bool RunProfileDialog(HWND owner, ProfileFields& fields);
// DPI colour dialog ("skin_dpi_color.ini"): a 0x00BBGGRR colour.
bool RunDpiColorDialog(HWND owner, std::uint32_t& color);

// Macro manager ("skin_macro_manager.ini") over `store`, opened on the macro
// named `selectName` (ignoring case; the first macro when none matches).
// True on OK; the caller then saves the store, and otherwise reads it again
// from its file.
bool RunMacroManager(HWND owner, MacroFileStore& store, std::string_view selectName);

// Notices ("skin_click_warn.ini", "skin_macro_set_warn.ini").
void ShowClickWarning(HWND owner);
void ShowMacroSetWarning(HWND owner);
// Reset warning ("skin_reset_warn.ini"), centred on `mainWindow`: true when
// the user confirmed the reset.
bool AskResetDefaults(HWND mainWindow);

}  // namespace option
