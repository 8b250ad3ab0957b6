// The system's own windows that Option opens (message boxes, file dialogs,
// the shell's windows, tool tips) in the system's current control look.
//
// Option's own windows draw themselves from skin pictures on the plain system
// controls: its process manifest does not ask for the themed controls
// library, because the first window of a class that library serves would
// load it, and under Wine that costs a good part of the start. A second
// manifest in Option's resources asks for it; this scope makes it the one in
// force on the calling thread, so that what the system creates meanwhile is
// themed.
#pragma once

#include <windows.h>

#include <string>

namespace skin {

class ThemedControls {
  public:
    ThemedControls();
    ~ThemedControls();
    ThemedControls(const ThemedControls&) = delete;
    ThemedControls& operator=(const ThemedControls&) = delete;

    // The themed library loaded and its window classes registered (once);
    // false when it cannot be had.
    static bool Load();

  private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

// A message box of UTF-8 texts (a null caption: the system's), shown with the
// themed controls.
int ThemedMessageBox(HWND owner, const std::string& text, const char* caption, UINT type);
// The same for a text that names a path in any script.
int ThemedMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

}  // namespace skin
