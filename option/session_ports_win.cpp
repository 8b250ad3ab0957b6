#include "option/session_ports_win.h"

#include <cstring>

#include "common/protocol.h"
#include "common/settings/shared_section.h"
#include "option/skin/themed_controls_win.h"

namespace option {

bool SharedLinkWin::Open() {
    if (IsOpen())
        return true;
    Close();
    mutex_.Reset(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, settings::kSharedMutexName));
    mapping_.Reset(
        OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, settings::kSharedSectionName));
    if (!mapping_)
        return false;
    view_.Reset(
        MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, settings::kSettingsBlockSize));
    if (!view_) {
        skin::ThemedMessageBox(nullptr, "Could not map view of file.", nullptr, MB_OK);
        Close();
        return false;
    }
    return true;
}

void SharedLinkWin::Close() {
    view_.Reset();
    mapping_.Reset();
    mutex_.Reset();
}

// A holder that died mid-copy leaves the mutex abandoned: a whole block
// written now repairs the section, but a read might see half a block.
bool SharedLinkWin::Publish(const settings::SettingsBlock& block) {
    if (!IsOpen())
        return false;
    win::ScopedMutexOwner lock(mutex_.Get(), INFINITE);
    if (!lock.Owned())
        return false;
    std::memcpy(view_.Get(), &block, settings::kSettingsBlockSize);
    return true;
}

bool SharedLinkWin::Fetch(settings::SettingsBlock& block) {
    if (!IsOpen())
        return false;
    win::ScopedMutexOwner lock(mutex_.Get(), INFINITE);
    if (!lock.Owned() || lock.Abandoned())
        return false;
    std::memcpy(&block, view_.Get(), settings::kSettingsBlockSize);
    return true;
}

bool PeerWindowsWin::MonitorRunning() {
    return FindWindowA(nullptr, protocol::kMonitorTitle) != nullptr;
}

bool PeerWindowsWin::PostApplyToMonitor(ApplyKind kind) {
    HWND monitor = FindWindowA(nullptr, protocol::kMonitorTitle);
    if (monitor == nullptr)
        return false;
    PostMessageA(monitor, protocol::kMsgApplyAll, kind == ApplyKind::Reset ? 1 : 0, 0);
    return true;
}

void PeerWindowsWin::PostApplyToCompanions() {
    for (const char* title : {protocol::kPop3Title, protocol::kCpuRamTitle, protocol::kSkypeTitle,
                              protocol::kMsnTitle}) {
        if (HWND companion = FindWindowA(nullptr, title))
            PostMessageA(companion, protocol::kMsgApplyAll, 0, 0);
    }
}

}  // namespace option
