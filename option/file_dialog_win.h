// The system's file dialog for the files Option imports and exports.
#pragma once

#include <windows.h>

namespace option {

enum class FileDialog { Open, Save };

// What the dialog offers: its filter (pairs of texts, ended by an empty one),
// the extension added to a name typed without one, and the title (null: the
// system's own).
struct FileChoice {
    const char* filter;
    const char* extension;
    const char* title = nullptr;
};

// False when the user cancelled. An opened file must exist; a saved one over
// an existing file is confirmed.
bool AskFilePath(HWND owner, FileDialog kind, const FileChoice& choice, char (&path)[MAX_PATH]);

}  // namespace option
