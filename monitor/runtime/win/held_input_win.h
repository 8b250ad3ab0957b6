// The one record of what Monitor's synthesised input holds down (the input
// sink writes it), and the crash handler's way to let go of it.
#pragma once

#include "monitor/runtime/held_input.h"

namespace runtime {

HeldInput& ProcessHeldInput();

// For the crash handler (win::InstallCrashDumps): key-ups and button-ups for
// everything still held.
void ReleaseHeldInputAfterCrash();

}  // namespace runtime
