// Win32 side of the shared settings block: the named mapping and its mutex.
#pragma once

#include <windows.h>

#include "common/settings/shared_section.h"

namespace settings {

class SharedSection final : public SharedBlockStore {
public:
    enum class CreateResult { Created, MutexExists, MappingFailed };

    SharedSection() = default;
    ~SharedSection() override;
    SharedSection(const SharedSection&) = delete;
    SharedSection& operator=(const SharedSection&) = delete;

    // Monitor: creates the mutex (fails when it already exists, leaving nothing
    // open) and then the mapping (NULL DACL, inheritable handle).
    CreateResult Create();
    // Option: opens an existing mutex and mapping.
    bool Open();
    void Close();

    bool HasView() const { return view_ != nullptr; }
    bool HasMutex() const { return mutex_ != nullptr; }

    bool Publish(const SettingsBlock& block) override;
    bool Fetch(SettingsBlock& block) override;

private:
    bool CreateMapping();

    HANDLE mutex_ = nullptr;
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
};

}  // namespace settings
