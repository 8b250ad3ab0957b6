// What the skinned buttons (the four-image button and the shaped one) do
// alike with the pointer, the latch and a screen reader.
#pragma once

#include <windows.h>

#include "option/skin/skin_accessible_win.h"

namespace skin {

// The window that owns `hwnd`, else its parent.
HWND OwnerOrParent(HWND hwnd);
bool LeftButtonDown();

// A press away from a button reaches it only through the capture it holds
// for hover, when the pointer got there without a move the button saw (a
// jump of the pointer, moves merged or lost on the way). It belongs to the
// window under the pointer: the capture goes, and a control of this window
// gets the press as if the capture had not been there.
void ForwardPress(HWND self, UINT keys, POINT at);

// Sets a button's latch and repaints the button when that changed it.
void SetLatch(HWND button, bool& latched, bool value);

// The accessible answer of a button, its latch shown as the state its role
// has for it.
LRESULT AnswerForButton(HWND button, WPARAM flags, AccessibleFacts facts, bool latched);

}  // namespace skin
