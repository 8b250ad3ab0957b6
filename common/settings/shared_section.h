// The named section and mutex through which Monitor publishes the settings
// block and Option hands it back. Every copy is the whole block under the
// mutex; a copy whose wait fails is not made and reports false.
#pragma once

#include "common/settings/settings_block.h"

namespace settings {

inline constexpr const char* kSharedSectionName = "Professional_Gaming_Mouse_Normal_Share_Data";
inline constexpr const char* kSharedMutexName = "Professional_Gaming_Mouse_Normal_Mutex_Object";

// What the programs need of the section; tests substitute their own.
class SharedBlockStore {
  public:
    virtual ~SharedBlockStore() = default;
    virtual bool Publish(const SettingsBlock& block) = 0;
    virtual bool Fetch(SettingsBlock& block) = 0;
};

}  // namespace settings
