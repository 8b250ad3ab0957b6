#include "monitor/runtime/game_return.h"

namespace runtime {

void GameReturn::AutoSwitched(int from, int to, const std::string& exe) {
    if (!armed_ || from != gameProfile_)
        previous_ = from;
    armed_ = settings::IsValidProfileIndex(previous_) && settings::IsValidProfileIndex(to);
    gameProfile_ = to;
    exe_ = exe;
}

int GameReturn::Poll(int current, ForegroundQuery& processes) {
    if (!armed_)
        return -1;
    // The user (or an Apply from Option) chose another profile: that choice
    // stands. So does a choice switched off while the game ran.
    if (current != gameProfile_ || !choices_[static_cast<std::size_t>(gameProfile_)]) {
        armed_ = false;
        return -1;
    }
    if (processes.ProcessRunning(exe_))
        return -1;
    armed_ = false;
    return previous_;
}

}  // namespace runtime
