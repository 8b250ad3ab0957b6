#include "common/settings/ini_rewrite_lock_win.h"

#include <windows.h>

#include <vector>

#include "common/win/scoped_win.h"

namespace settings {

namespace {

class MutexHold final : public IniRewriteLock::Hold {
  public:
    MutexHold(win::ScopedHandle mutex, DWORD timeoutMs)
        : mutex_(std::move(mutex)), owner_(mutex_.Get(), timeoutMs) {}
    bool Owned() const { return owner_.Owned(); }

  private:
    // Declared first so that the mutex is released before its handle closes.
    win::ScopedHandle mutex_;
    win::ScopedMutexOwner owner_;
};

// The path as the system resolves it (relative parts and "." and ".." gone),
// upper-cased by the system's own rules so that letters outside ASCII fold too.
std::string CanonicalPath(const std::string& path) {
    std::vector<char> full(MAX_PATH, '\0');
    DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.assign(n + 1, '\0');
        n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    std::string result = (n == 0 || n >= full.size()) ? path : std::string(full.data(), n);
    if (!result.empty())
        CharUpperBuffA(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

}  // namespace

std::unique_ptr<IniRewriteLock::Hold> NamedMutexIniRewriteLock::Acquire(const std::string& path) {
    // Open to everybody, like the settings section: Option may run under
    // another token than Monitor and must still be able to wait on it.
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    const std::string name = IniRewriteLockName(CanonicalPath(path));
    win::ScopedHandle mutex(CreateMutexA(&attributes, FALSE, name.c_str()));
    if (!mutex)
        return nullptr;
    auto hold = std::make_unique<MutexHold>(std::move(mutex), kIniRewriteLockTimeoutMs);
    if (!hold->Owned())
        return nullptr;
    return hold;
}

}  // namespace settings
