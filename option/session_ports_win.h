// The Win32 side of the settings session: the shared section opened (never
// created) by title of its objects, and the other programs' windows.
#pragma once

#include <windows.h>

#include "common/win/scoped_win.h"
#include "option/model/session/session_ports.h"

namespace option {

class SharedLinkWin final : public SharedBlockLink {
  public:
    bool IsOpen() const override { return view_.Get() != nullptr; }
    // Opens the settings mutex and the mapping Monitor created. A mapping
    // that exists but cannot be mapped is reported with the box "Could not
    // map view of file." and left closed.
    bool Open() override;
    void Close();

    bool Publish(const settings::SettingsBlock& block) override;
    bool Fetch(settings::SettingsBlock& block) override;

  private:
    win::ScopedHandle mutex_;
    win::ScopedHandle mapping_;
    win::ScopedView view_;
};

class PeerWindowsWin final : public PeerWindows {
  public:
    bool MonitorRunning() override;
    bool PostApplyToMonitor(ApplyKind kind) override;
    void PostApplyToCompanions() override;
};

}  // namespace option
