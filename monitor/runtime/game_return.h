// Back to the user's own profile when a game ends: after an automatic switch
// to a game's profile whose owner asked for it, the profile that was current
// before is remembered, and once no process of the game runs any more it is
// made current again, unless the user chose another profile meanwhile.
#pragma once

#include <array>
#include <string>

#include "common/settings/settings_block.h"
#include "monitor/runtime/game_watch.h"

namespace runtime {

// Per profile: go back to the previous profile when this profile's game ends.
using ReturnChoices = std::array<bool, settings::kProfileCount>;

class GameReturn {
  public:
    void SetChoices(const ReturnChoices& choices) { choices_ = choices; }

    // The poll switched from profile `from` to the profile `to` of the game
    // `exe`. A switch from one game's profile to another's keeps the profile
    // the user had before the first game.
    void AutoSwitched(int from, int to, const std::string& exe);
    // A switch the user made (mouse button, command line): nothing to go
    // back to any more.
    void Forget() { armed_ = false; }

    // One poll with `current` the current profile: the profile to go back to
    // now, or -1. Asks `processes` only while a return is pending.
    int Poll(int current, ForegroundQuery& processes);

  private:
    ReturnChoices choices_{};
    bool armed_ = false;
    int previous_ = -1;
    int gameProfile_ = -1;
    std::string exe_;
};

}  // namespace runtime
