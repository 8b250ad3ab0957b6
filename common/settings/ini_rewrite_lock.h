// The lock that every rewrite of a settings file takes. A rewrite copies the
// file, changes the copy and puts it in the file's place; two writers doing
// that at once would each replace the file with a copy that lacks the other's
// change. Monitor, Option and their threads all rewrite config.ini, so the lock
// is named after the file and reaches across processes.
#pragma once

#include <memory>
#include <string>

namespace settings {

// How long a writer waits for another writer's rewrite to finish. Rewrites
// take milliseconds; a writer still waiting after this reports its write as
// failed rather than going ahead unguarded.
inline constexpr unsigned kIniRewriteLockTimeoutMs = 5000;

class IniRewriteLock {
  public:
    // The lock, held until this is destroyed (on the thread that took it).
    class Hold {
      public:
        virtual ~Hold() = default;
    };

    virtual ~IniRewriteLock() = default;
    // Waits up to kIniRewriteLockTimeoutMs for the lock of the file at path;
    // null when it was not had.
    virtual std::unique_ptr<Hold> Acquire(const std::string& path) = 0;
};

// The name of a file's lock: "GamingMouse.IniFile." and a hash of the full
// path with letters upper-cased and '/' taken as '\', so that every spelling
// of one file's path names one lock (the file system ignores case).
std::string IniRewriteLockName(const std::string& fullPath);

// One lock for every file, good within this process only: what the engine
// uses where no other program writes the files (tests, tools).
class InProcessIniRewriteLock final : public IniRewriteLock {
  public:
    std::unique_ptr<Hold> Acquire(const std::string& path) override;
};

}  // namespace settings
