// The settings files' rewrite lock across processes: a named mutex per file.
#pragma once

#include "common/settings/ini_rewrite_lock.h"

namespace settings {

// Monitor and Option (and each of their threads) take the mutex named
// IniRewriteLockName(full path). A mutex left abandoned by a writer that died
// is owned all the same: its rewrite either replaced the file or did not, so
// the file is whole either way.
class NamedMutexIniRewriteLock final : public IniRewriteLock {
  public:
    std::unique_ptr<Hold> Acquire(const std::string& path) override;
};

}  // namespace settings
