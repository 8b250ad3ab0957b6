// The hint the skinned controls publish while the pointer rests on them,
// and the registered messages of the skinned edit field.
//
// What a program using the skinned controls does once:
//   RegisterSkinMessages() at start, SetHintWindow(main window) when the main
//   window exists, CCoolMenu::Install()/Uninstall() around the main window,
//   and links the skin_resources object library. Every window hosting the
//   controls derives from SkinHost (skin_host_win.h).
#pragma once

#include <windows.h>

#include <string>

namespace skin {

// The window that receives the hint message 1125 (Option's main window).
// Without one, the top-level window of the control is used.
void SetHintWindow(HWND mainWindow);
HWND HintWindow(HWND control);
// Writes the hint string and posts 1125 (wParam, 0) to the hint window.
void PublishHint(HWND control, const std::string& text, WPARAM wParam);

// Registered messages of the edit field, registered once at program start
// (also on first use).
UINT EditKillFocusMessage();
UINT EditChangeMessage();
void RegisterSkinMessages();

}  // namespace skin
