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
#include "monitor/runtime/monitor_runtime.h"
#include "monitor/runtime/win/runtime_bundle_win.h"
#include "monitor/app/tray_icon_win.h"
#include "common/win/worker_thread_win.h"

namespace monitor {

// Flags shared by the window thread and the upload thread; each is written by
// one side and read by the other. The macro player keeps its own.
struct SharedFlags {
    std::atomic<std::int32_t> connection{static_cast<std::int32_t>(protocol::Connection::NotOpened)};
    std::atomic<std::int32_t> uploadBusy{0};
    std::atomic<std::int32_t> uploadAbort{0};
};

class CMonitorWnd : public win::WindowImpl<CMonitorWnd>, private runtime::MonitorHost {
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

    // The shut-down sequence; runs once, from WM_DESTROY, and never for a
    // start-up that was refused.
    void ShutDown();
    // Whether the settings mutex belongs to a Monitor that is running.
    bool AnotherMonitorOwnsTheSettings();
    void FetchSharedBlock();
    void ApplySystemMouseSettings();
    void NotifyOptionUploadDone(Who who);
    void OnArrival();
    void OnRemoval();
    void LoadOsdOptions();

    // What the button actions need of the window.
    settings::SettingsBlock& Block() override { return *block_; }
    bool Connected() override { return Connection() == protocol::Connection::Connected; }
    void ConnectionEvent(bool arrived) override;
    void PublishBlock() override;
    bool PostUploadJob(int job) override;
    void WriteRegistryAndApply() override;
    bool PostToOption(unsigned message) override;
    void PostOpenOption() override;
    bool PostPlayMacro() override;
    void Launch(const char* path) override;
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

    // The private block. Only the window thread changes it, always under
    // blockLock_; each upload job works from its own copy taken under the same
    // lock. Recursive, because an action that changes the block also
    // publishes and applies it.
    std::unique_ptr<settings::SettingsBlock> block_;
    std::unique_ptr<settings::SettingsBlock> incoming_;
    std::unique_ptr<settings::SettingsBlock> uploadCopy_;
    std::recursive_mutex blockLock_;
    using BlockGuard = std::lock_guard<std::recursive_mutex>;

    std::unique_ptr<runtime::RuntimeBundleWin> runtime_;

    settings::SharedSection shared_;
    device::DeviceLink link_;
    TrayIcon tray_;
    win::WorkerThread macroThread_;
    win::WorkerThread uploadThread_;
    SharedFlags flags_;
};

}  // namespace monitor
