// The child windows the skinned controls are made of: a window of the
// control's own class, or a system button or edit the control takes over.
#pragma once

#include <windows.h>

#include <functional>

#include "common/win/window.h"

namespace skin {

// A child of `parent` at `r` (parent client coordinates) with the control id
// `id` and the arrow cursor.
win::WindowSpec ChildSpec(const char* className, DWORD style, const RECT& r, HWND parent, UINT id);

// Creates `window` from ChildSpec; false on failure.
bool CreateChild(win::Window& window, const char* className, DWORD style, const RECT& r,
                 HWND parent, UINT id);

// Creates a child of the system class `systemClass` (style `style` plus
// WS_CHILD) and hands it to `attach`; a window `attach` refuses is destroyed.
bool CreateAttached(const char* systemClass, DWORD style, const RECT& r, HWND parent, UINT id,
                    const std::function<bool(HWND)>& attach);

// Has `window` painted again, once it is made: a control set up before its
// window exists paints what it was given when the window comes.
void RepaintIfMade(HWND window);

// Whether `window` has anything outside its client area to paint: a border,
// an edge or a scroll bar. A control without answers WM_NCPAINT itself: the
// system's handling takes a device context even when there is nothing to
// draw, a few trips to the window server under Wine for every control shown.
bool HasFrame(HWND window);

}  // namespace skin
