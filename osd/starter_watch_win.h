// The process that started the display program. Monitor starts it and asks
// it to close when Monitor ends; a Monitor that crashed or was killed cannot
// ask, and a display program left behind would keep its file in use (an
// upgrade could not replace it) and make the next Monitor's own start of it
// give way. So the display program also ends when its starter has ended.
#pragma once

#include "common/win/scoped_win.h"

namespace osd {

// A handle to wait on for the starting process's end; empty when the starter
// has already gone or cannot be opened (then nothing is watched).
win::ScopedHandle OpenStarterProcess();

}  // namespace osd
