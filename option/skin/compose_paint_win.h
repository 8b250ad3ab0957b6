// A skinned window's first paint in one piece: its own picture and every
// control on it that can draw itself into a given DC (kMsgPaintInto), with
// the controls of those controls, composed off the screen and put on it in
// one block transfer; the controls drawn are then marked painted. A control
// that paints itself costs a paint session of its own, under Wine a round of
// trips to the window server each, and a window has dozens of them.
#pragma once

#include <windows.h>

#include <functional>

namespace skin {

// Paints `window` (which must have something to paint): `paintOwn` draws the
// window's client area into the DC it is given; then every visible control
// that answers kMsgPaintInto is drawn over it, bottom of the z-order first,
// clipped to its client area and shape. Controls that do not answer paint
// themselves afterwards, as usual.
void PaintWithControls(HWND window, const std::function<void(HDC)>& paintOwn);

}  // namespace skin
