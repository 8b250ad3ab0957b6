// What every window of Option reads and nothing owns: the texts set once at
// start and the strings of lan.dll. Pages and dialogs include this rather
// than the main window.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/language_module_win.h"
#include "option/skin/button_pos.h"
#include "option/skin/control_table.h"

namespace option {

inline constexpr const char* kSoftwareVersion = "1.12";

// Texts set once at start and read by every window of Option.
struct OptionGlobals {
    std::string programFolder;
    std::string firmwareVersion;
    std::string softwareVersion = kSoftwareVersion;
    win::LanguageModule language;
};
OptionGlobals& Globals();
// A string of lan.dll in the language Option shows (English where that
// language's table lacks it), UTF-8; "" when the module or the id is missing.
std::string LanString(unsigned id);
// The locale name of that language ("de-DE"), whose rules upper-case words.
const std::string& LanguageLocale();

}  // namespace option
