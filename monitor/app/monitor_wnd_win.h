// Monitor's hidden window: owns the settings block, the shared section, the
// device link, the tray icon and the two worker threads, and answers every
// message that Option, the applets, the shell and the device library send.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
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
#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "monitor/device/device_link_win.h"
#include "monitor/device/upload_worker.h"
#include "monitor/runtime/command_line.h"
#include "monitor/runtime/monitor_runtime.h"
#include "monitor/runtime/win/runtime_bundle_win.h"
#include "monitor/app/tray_icon_win.h"
#include "common/win/worker_thread_win.h"

namespace monitor {

// Flags shared by the window thread and the upload thread; each is written by
// one side and read by the other. The upload worker and the macro player keep
// their own.
struct SharedFlags {
    std::atomic<std::int32_t> connection{
        static_cast<std::int32_t>(protocol::Connection::NotOpened)};
};

class CMonitorWnd : public win::WindowImpl<CMonitorWnd>,
                    private runtime::MonitorHost,
                    private device::UploadJobHost {
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
    void OnSystrayNotify(win::LParam<UINT> mouseMessage);
    void OnApplyAllSetting(win::WParam<WPARAM> resetToDefaults);
    void OnReloadBlock();
    void OnReloadAndApply();
    void OnIgnored();
    void OnDeviceEvent(win::WParam<WPARAM> category, win::LParam<LPARAM> data);
    void OnDeviceArrival(win::WParam<WPARAM> arrived);
    void OnProfileSelected(win::WParam<int> profileIndex);
    void OnApplySystemSettings();
    void OnFlushOsd();
    void OnTaskbarCreated();
    void OnCustomizer();
    void OnExit();
    // A command line command (monitor_command_win.h); returns its result.
    LRESULT OnRunCommand(win::WParam<runtime::CommandKind> kind, win::LParam<int> profileIndex);

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
    // The return-after-game choices Option keeps in config.ini.
    void LoadReturnChoices();

    // What the button actions need of the window.
    const settings::SettingsBlock& Block() override { return *block_; }
    void ChangeBlock(const std::function<void(settings::SettingsBlock&)>& change) override;
    // Also what an upload job needs of it.
    bool Connected() override { return Connection() == protocol::Connection::Connected; }
    void ConnectionEvent(bool arrived) override;
    void PublishBlock() override;
    bool PostUploadJob(int job) override;
    // Queues an upload job and wakes the upload thread when it is idle.
    bool QueueUpload(protocol::UploadJob job);
    void WriteRegistryAndApply() override;
    bool PostToOption(unsigned message) override;
    void PostOpenOption() override;
    bool PostPlayMacro() override;
    void Launch(const char* path) override;
    void WriteDeviceState(int state);
    void AddTrayIcon();
    void StartCompanions();
    void ShellOpen(const std::string& path);

    // What an upload job needs of the window (upload thread).
    void CopyBlock(settings::SettingsBlock& into) override;
    void ApplyAnswered() override;
    void ProfileSelected(int profileIndex) override;

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
    win::ScopedModule lan_;
    std::unique_ptr<settings::SystemSettingsFiles> files_;
    settings::SystemMouseRegistry registry_;
    // "Control Panel\Mouse", open for the life of the window.
    std::unique_ptr<settings::RegistryKey> mouseKey_;
    settings::OsdSettings osd_{};
    bool comInitialized_ = false;
    bool shutDown_ = false;
    // Option's window as last found by its title (change notices).
    HWND option_ = nullptr;
    // A system settings apply is posted and not yet run.
    bool systemApplyQueued_ = false;

    // The private block. Only the window thread changes it, under blockLock_,
    // and reads it without the lock; each upload job works from its own copy
    // taken under the lock. The lock is held for the change or the copy and
    // nothing else: never across a message, a system call that notifies other
    // programs, or the shared section's mutex, so that no other program can
    // stall an upload or the window thread through it.
    std::unique_ptr<settings::SettingsBlock> block_;
    std::unique_ptr<settings::SettingsBlock> incoming_;
    // What goes into the shared section: the block without its change flags.
    std::unique_ptr<settings::SettingsBlock> outgoing_;
    std::mutex blockLock_;
    using BlockGuard = std::lock_guard<std::mutex>;

    std::unique_ptr<runtime::RuntimeBundleWin> runtime_;

    settings::SharedSection shared_;
    device::DeviceLink link_;
    TrayIcon tray_;
    // Declared before the threads, so that they outlive the upload thread.
    SharedFlags flags_;
    device::UploadWorker upload_{static_cast<device::UploadJobHost&>(*this)};
    win::WorkerThread macroThread_;
    win::WorkerThread uploadThread_;
};

}  // namespace monitor
