// Win32 side of the shared settings block: the named mapping and its mutex.
#pragma once

#include <windows.h>

#include "common/settings/shared_section.h"
#include "common/win/scoped_win.h"

namespace settings {

class SharedSection final : public SharedBlockStore {
  public:
    enum class CreateResult { Created, MappingFailed };

    SharedSection() = default;
    ~SharedSection() override;
    SharedSection(const SharedSection&) = delete;
    SharedSection& operator=(const SharedSection&) = delete;

    // True when the settings mutex exists: a Monitor runs, or a peer (Option)
    // still holds the handle it opened from a Monitor that is gone.
    static bool MutexExists();
    // Monitor: creates the mutex and then the mapping (NULL DACL, inheritable
    // handle). Either may exist already, held open by Option after a Monitor
    // that ended without closing them: they are then taken over as they are,
    // so that Option's handles and this Monitor's name the same objects.
    CreateResult Create();
    // Option: opens an existing mutex and mapping.
    bool Open();
    void Close();

    bool Publish(const SettingsBlock& block) override;
    bool Fetch(SettingsBlock& block) override;

  private:
    bool CreateMapping();

    // Released in reverse: the view, then the mapping, then the mutex.
    win::ScopedHandle mutex_;
    win::ScopedHandle mapping_;
    win::ScopedView view_;
};

}  // namespace settings
