// A skinned window told that its display scale changed (WM_DPICHANGED)
// builds its controls again from the skin set of the new scale. What every
// such window does alike lives here; what it builds is its own.
#pragma once

#include <windows.h>

#include <functional>

namespace skin {

// Destroys every child window of `parent` (the controls about to be made
// again from another set).
void DestroyChildren(HWND parent);

// Runs `rebuild` with the window's drawing held back, then moves the window
// to the place of the system's `suggested` rectangle (may be null; the size
// is the new set's own, which `rebuild` gave it), gives the keyboard focus
// back to the control of the same ids (its own and its parents') and
// repaints the window whole.
void Reskin(HWND self, const RECT* suggested, const std::function<void()>& rebuild);

}  // namespace skin
