// The process that started the display program. Monitor starts it and asks
// it to close when Monitor ends; a Monitor that crashed or was killed cannot
// ask, nor can one that ended before the display window was up to be found.
// A display program left behind would keep its file in use (an upgrade could
// not replace it) and make the next Monitor's own start of it give way. So
// the display program also ends when its starter has ended, and does not
// start at all when the starter is already gone.
#pragma once

#include "common/win/scoped_win.h"

namespace osd {

struct Starter {
    enum class State {
        Running,  // `process` is signalled when it ends
        Gone,     // it has ended already
        Unknown,  // no starter, or none that can be opened: nothing to watch
    };
    State state = State::Unknown;
    win::ScopedHandle process;
};

Starter OpenStarter();

}  // namespace osd
