#include "common/settings/ini_rewrite_lock.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>

namespace settings {

std::string IniRewriteLockName(const std::string& fullPath) {
    // FNV-1a, 64 bits: stable across builds and processes, unlike std::hash.
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : fullPath) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c == '/')
            c = '\\';
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llX", static_cast<unsigned long long>(hash));
    return std::string("GamingMouse.IniFile.") + digits;
}

namespace {

std::timed_mutex& ProcessLock() {
    static std::timed_mutex lock;
    return lock;
}

class ProcessHold final : public IniRewriteLock::Hold {
  public:
    ~ProcessHold() override { ProcessLock().unlock(); }
};

}  // namespace

std::unique_ptr<IniRewriteLock::Hold> InProcessIniRewriteLock::Acquire(const std::string&) {
    if (!ProcessLock().try_lock_for(std::chrono::milliseconds(kIniRewriteLockTimeoutMs))) {
        return nullptr;
    }
    return std::make_unique<ProcessHold>();
}

}  // namespace settings
