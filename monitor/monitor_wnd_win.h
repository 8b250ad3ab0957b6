// Monitor's hidden window: owns the settings block, the shared section, the
// device link, the tray icon and the two worker threads, and answers every
// message that Option, the applets, the shell and the device library send.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "common/protocol.h"
#include "common/settings/ini_file_win.h"
#include "common/settings/mouse_registry_win.h"
#include "common/settings/osd_settings.h"
#include "common/settings/settings_block.h"
#include "common/settings/shared_section_win.h"
#include "common/win/window.h"
#include "monitor/device/device_link_win.h"
#include "monitor/tray_icon_win.h"
#include "monitor/worker_thread_win.h"

namespace monitor {

// Flags shared by the window thread and the worker threads; each is written by
// one side and read by the other.
struct SharedFlags {
    std::atomic<std::int32_t> connection{static_cast<std::int32_t>(protocol::Connection::NotOpened)};
    std::atomic<std::int32_t> uploadBusy{0};
    std::atomic<std::int32_t> uploadAbort{0};
    std::atomic<std::int32_t> macroRunning{0};
    std::atomic<std::int32_t> macroStop{0};
};

class CMonitorWnd : public win::WindowImpl<CMonitorWnd> {
public:
    CMonitorWnd();
    ~CMonitorWnd() override;

    // Creates the hidden tool window; false when creation was refused.
    bool CreateHidden(bool openOptionAtStart);

    static std::span<const win::MessageRow<CMonitorWnd>> MessageMap();

    // Handlers (public so that the message map can name them).
    LRESULT OnCreate(const CREATESTRUCTA* create);
    void OnDestroy();
    LRESULT OnTimer(UINT_PTR id);
    LRESULT OnCopyData(HWND from, const COPYDATASTRUCT* data);
    void OnSystrayNotify(WPARAM iconId, LPARAM mouseMessage);
    void OnApplyAllSetting(WPARAM resetToDefaults);
    void OnReloadBlock();
    void OnReloadAndApply();
    void OnIgnored();
    void OnDeviceEvent(WPARAM category, LPARAM data);
    void OnDeviceArrival(WPARAM arrived);
    void OnTaskbarCreated();
    void OnCustomizer();
    void OnExit();

private:
    enum class Who { Window, Thread };

    // The shut-down sequence; runs once, from WM_DESTROY or a refused creation.
    void ShutDown();
    void FetchSharedBlock();
    void PublishBlock();
    void ApplySystemMouseSettings();
    void NotifyOptionUploadDone(Who who);
    void OnArrival();
    void OnRemoval();
    void WriteDeviceState(int state);
    void AddTrayIcon();
    void StartCompanions();
    void ShellOpen(const std::string& path);

    // Worker thread bodies.
    void OnUploadThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMacroThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    protocol::Connection Connection() const {
        return static_cast<protocol::Connection>(flags_.connection.load());
    }
    void SetConnection(protocol::Connection state) {
        flags_.connection.store(static_cast<std::int32_t>(state));
    }

    bool openOptionAtStart_ = false;
    std::string folder_;
    HMODULE lan_ = nullptr;
    std::unique_ptr<settings::SystemSettingsFiles> files_;
    settings::SystemMouseRegistry registry_;
    // "Control Panel\Mouse", open for the life of the window.
    std::unique_ptr<settings::RegistryKey> mouseKey_;
    settings::OsdSettings osd_{};
    bool comInitialized_ = false;
    bool shutDown_ = false;

    // The private block; the window thread replaces it under blockLock_ and
    // each upload job works from its own copy taken under the same lock.
    std::unique_ptr<settings::SettingsBlock> block_;
    std::unique_ptr<settings::SettingsBlock> incoming_;
    std::unique_ptr<settings::SettingsBlock> uploadCopy_;
    std::mutex blockLock_;

    settings::SharedSection shared_;
    device::DeviceLink link_;
    TrayIcon tray_;
    WorkerThread macroThread_;
    WorkerThread uploadThread_;
    SharedFlags flags_;
};

}  // namespace monitor
