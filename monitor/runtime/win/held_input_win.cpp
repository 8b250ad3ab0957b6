#include "monitor/runtime/win/held_input_win.h"

#include "monitor/runtime/win/runtime_input_win.h"

namespace runtime {

namespace {

// Static storage: nothing to construct when the crash handler needs it.
HeldInput g_heldInput;

}  // namespace

HeldInput& ProcessHeldInput() {
    return g_heldInput;
}

void ReleaseHeldInputAfterCrash() {
    InputSinkWin input;
    g_heldInput.ReleaseAll(input);
}

}  // namespace runtime
