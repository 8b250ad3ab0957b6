// What every window of Option reads and nothing owns: the texts set once at
// start and the strings of lan.dll. Pages and dialogs include this rather
// than the main window.
#pragma once

#include <windows.h>

#include <string>

#include "option/skin/button_pos.h"
#include "option/skin/control_table.h"

namespace option {

inline constexpr const char* kSoftwareVersion = "1.12";

// Texts set once at start and read by every window of Option.
struct OptionGlobals {
    std::string programFolder;
    std::string firmwareVersion;
    std::string softwareVersion = kSoftwareVersion;
    HMODULE language = nullptr;
};
OptionGlobals& Globals();
// A string of lan.dll, "" when the module or the id is missing.
std::string LanString(unsigned id);
// The same in UTF-8 whatever the code page: the words the skins name.
std::string LanWord(unsigned id);
// The locale name of the language in use, whose rules upper-case the words
// the skins ask for in capitals; "" for the user's own locale.
std::string LanguageLocale();
// What a screen reader names the control of `row`: the row's string, or the
// caption its skin placement `pos` gives.
std::string AccessibleNameOf(const skin::ControlRow& row, const skin::ButtonPos& pos);

}  // namespace option
