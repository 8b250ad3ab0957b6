// What every window of Option reads and nothing owns: the texts set once at
// start and the strings of lan.dll. Pages and dialogs include this rather
// than the main window.
#pragma once

#include <windows.h>

#include <string>

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

}  // namespace option
