// The system's file dialog for the files Option imports and exports and the
// programs a button or a profile names.
#pragma once

#include <windows.h>

#include <string>

namespace option {

enum class FileDialog { Open, Save };

// What the dialog offers: its filter (pairs of texts, ended by an empty one),
// the extension added to a name typed without one, and the title (null: the
// system's own). Texts in UTF-8.
struct FileChoice {
    const char* filter;
    const char* extension;
    const char* title = nullptr;
    const wchar_t* initialFolder = nullptr;  // null: the system's choice
};

// False when the user cancelled. An opened file must exist; a saved one over
// an existing file is confirmed. The wide dialog: `path` (UTF-8) may name a
// file in any script, whatever the process's code page.
bool AskFilePath(HWND owner, FileDialog kind, const FileChoice& choice, std::string& path);

}  // namespace option
