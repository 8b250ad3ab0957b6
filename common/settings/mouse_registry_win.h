// Registry and system-parameter adapters of the pointer settings.
#pragma once

#include <windows.h>

#include "common/settings/mouse_registry.h"

namespace settings {

// HKEY_CURRENT_USER "Control Panel\Mouse" and "Control Panel\Desktop".
class SystemMouseRegistry final : public MouseRegistry {
  public:
    std::unique_ptr<RegistryKey> Open(MouseRegistryKey key, bool create) override;
};

// The running system's pointer settings; WM_WININICHANGE notices for the own
// window go to ownWindow (none when it is null).
class Win32SystemMouse final : public SystemMouse {
  public:
    explicit Win32SystemMouse(HWND ownWindow) : window_(ownWindow) {}
    void SetDoubleClickTime(int milliseconds) override;
    void SwapMouseButton(bool swap) override;
    void SetMouse(int threshold1, int threshold2, int speed) override;
    void SetMouseSpeed(int speed) override;
    void SetWheelScrollLines(int lines) override;
    void SetMouseTrails(int trails) override;
    void NotifyOwnWindow(unsigned action) override;
    void NotifyAllWindows(unsigned action) override;

  private:
    HWND window_;
};

}  // namespace settings
