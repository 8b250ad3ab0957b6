// The foreground program's executable name, from a process snapshot.
#pragma once

#include "monitor/runtime/game_watch.h"

namespace runtime {

class ForegroundQueryWin final : public ForegroundQuery {
  public:
    bool ForegroundExeName(std::string& name) override;
    bool ProcessRunning(std::string_view exeName) override;
};

// The executable file name of process id, walking a fresh snapshot.
bool ProcessExeName(unsigned long processId, std::string& name);

}  // namespace runtime
