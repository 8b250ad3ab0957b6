// The shared settings block as another program of the session sees it:
// whole-block copies under the settings mutex, each through handles opened
// for that one copy. False while no Monitor has published the block.
#pragma once

#include <windows.h>

#include <cstring>

#include "common/settings/settings_block.h"
#include "common/settings/shared_section.h"
#include "common/win/scoped_win.h"

namespace testsupport {

namespace detail {

// Runs `use` on the mapped block while holding the settings mutex.
template <class Use>
bool WithSharedView(Use&& use) {
    const win::ScopedHandle mutex(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, settings::kSharedMutexName));
    const win::ScopedHandle mapping(
        OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, settings::kSharedSectionName));
    if (!mutex || !mapping)
        return false;
    const win::ScopedView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view)
        return false;
    // An abandoned mutex means a writer died mid-copy: the block is not whole.
    const win::ScopedMutexOwner owner(mutex.Get(), INFINITE);
    if (!owner.Owned() || owner.Abandoned())
        return false;
    use(view.Get());
    return true;
}

}  // namespace detail

inline bool ReadSharedBlock(settings::SettingsBlock& block) {
    return detail::WithSharedView(
        [&](const void* view) { std::memcpy(&block, view, sizeof block); });
}

inline bool WriteSharedBlock(const settings::SettingsBlock& block) {
    return detail::WithSharedView([&](void* view) { std::memcpy(view, &block, sizeof block); });
}

}  // namespace testsupport
