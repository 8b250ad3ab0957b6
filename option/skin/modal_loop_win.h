// The modal loops (dialogs, menus, message boxes, file dialogs) running on
// Option's thread. The handler that opened one is still on the stack below
// it and goes on using its window when the loop returns, so whatever would
// destroy that window (a change of display scale rebuilding the pages) waits
// until the last loop has ended.
#pragma once

#include <windows.h>

namespace skin {

// Marks one modal loop for as long as it lives.
class ModalLoopScope {
  public:
    ModalLoopScope();
    ~ModalLoopScope();
    ModalLoopScope(const ModalLoopScope&) = delete;
    ModalLoopScope& operator=(const ModalLoopScope&) = delete;
};

bool InModalLoop();

// Posts `message` to `window` once no modal loop runs any more (at once when
// none runs). One waiter: a later call replaces an earlier one.
void PostWhenModalLoopsEnd(HWND window, UINT message);

}  // namespace skin
