// Monitor's hidden window: owns the settings block, the shared section, the
// device link, the tray icon, the macro thread and the upload service, and
// answers every message that Option, the applets, the shell and the device
// library send.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "common/posted_calls.h"
#include "common/protocol.h"
#include "common/settings/ini_file_win.h"
#include "common/settings/mouse_registry_win.h"
#include "common/settings/osd_settings.h"
#include "common/settings/settings_block.h"
#include "common/settings/shared_section_win.h"
#include "common/win/language_module_win.h"
#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "common/win/worker_thread_win.h"
#include "monitor/app/diagnostics_win.h"
#include "monitor/app/guarded_block.h"
#include "monitor/app/monitor_log_win.h"
#include "monitor/app/session_notices_win.h"
#include "monitor/app/tray_icon_win.h"
#include "monitor/app/upload_service_win.h"
#include "monitor/device/device_link_win.h"
#include "monitor/runtime/command_line.h"
#include "monitor/runtime/monitor_runtime.h"
#include "monitor/runtime/session_state.h"
#include "monitor/runtime/win/runtime_bundle_win.h"

namespace monitor {

// Flags shared by the window thread and the upload thread; each is written by
// one side and read by the other. The upload service and the macro player keep
// their own.
struct SharedFlags {
    std::atomic<std::int32_t> connection{
        static_cast<std::int32_t>(protocol::Connection::NotOpened)};
    // Not asleep and at the console: reports may go to the mouse.
    std::atomic<bool> uploadsAllowed{true};
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
    void OnSystrayNotify(win::LParam<UINT> mouseMessage);
    void OnApplyAllSetting(win::WParam<WPARAM> resetToDefaults);
    void OnReloadBlock();
    void OnReloadAndApply();
    void OnIgnored();
    void OnDeviceEvent(win::WParam<WPARAM> category, win::LParam<LPARAM> data);
    void OnDeviceArrival(win::WParam<WPARAM> arrived);
    // A call posted to the window thread (calls_).
    void OnPostedCall();
    void OnTaskbarCreated();
    void OnCustomizer();
    void OnExit();
    // A command line command (monitor_command_win.h); returns its result.
    LRESULT OnRunCommand(win::WParam<runtime::CommandKind> kind, win::LParam<int> profileIndex);
    void OnRecordDiagnostics();
    void OnSaveDiagnosticsReport();
    void OnForgetChannels();
    LRESULT OnPowerBroadcast(WPARAM event);
    void OnSessionChange(WPARAM change, DWORD session);
    LRESULT OnQueryEndSession();
    void OnEndSession(bool ending, LPARAM reasons);

  private:
    // The shut-down sequence; runs once, from WM_DESTROY, and never for a
    // start-up that was refused.
    void ShutDown();
    // Whether the settings mutex belongs to a Monitor that is running.
    bool AnotherMonitorOwnsTheSettings();
    void FetchSharedBlock();
    void ApplySystemMouseSettings();
    // Run on the window thread through calls_: upload job 3 has told the
    // mouse the profile; the pointer settings of the current profile, once
    // for a burst of switches; the display program's held-back work.
    void OnProfileSelected(int profileIndex);
    void OnApplySystemSettings();
    void OnFlushOsd();
    // An arrival takes effect once the connection has been settled for a
    // while; a removal in between cancels it.
    void OnArrivalNotice();
    // `channelsOpen`: the caller has just opened them.
    void OnArrival(bool channelsOpen = false);
    void OnRemoval();
    // Sleep, lock and the console: what the session state decides is done.
    void OnSessionEvent(runtime::SessionEvent event);
    // After a wake-up: the library's channels are closed and opened again,
    // and the mouse, once it answers, gets one full upload.
    void BeginRecheck(bool fullUpload);
    void OnRecheckTimer();
    void EndRecheck();
    void QueueFullUpload();
    void LogChannels();
    void LoadOsdOptions();
    // The return-after-game choices Option keeps in config.ini.
    void LoadReturnChoices();

    // What the button actions need of the window.
    const settings::SettingsBlock& Block() override { return block_.Get(); }
    void ChangeBlock(const std::function<void(settings::SettingsBlock&)>& change) override;
    bool Connected() { return Connection() == protocol::Connection::Connected; }
    void ConnectionEvent(bool arrived) override;
    void PublishBlock() override;
    bool PostUploadJob(protocol::UploadJob job) override;
    void WriteRegistryAndApply() override;
    bool PostToOption(unsigned message) override;
    void PostOpenOption() override;
    bool PostPlayMacro() override;
    void Launch(const char* path) override;
    void WriteDeviceState(bool connected);
    void AddTrayIcon();
    void StartCompanions();
    void ShellOpen(const std::string& path);

    // The macro thread's body.
    void OnMacroThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    protocol::Connection Connection() const {
        return static_cast<protocol::Connection>(flags_.connection.load());
    }
    void SetConnection(protocol::Connection state) {
        flags_.connection.store(static_cast<std::int32_t>(state));
    }

    // Work other threads and later moments hand to the window thread.
    calls::PostedCalls calls_;
    bool openOptionAtStart_ = false;
    std::string folder_;
    win::LanguageModule lan_;
    std::unique_ptr<settings::SystemSettingsFiles> files_;
    settings::SystemMouseRegistry registry_;
    // "Control Panel\Mouse", open for the life of the window.
    std::unique_ptr<settings::RegistryKey> mouseKey_;
    settings::OsdSettings osd_{};
    bool shutDown_ = false;
    // Option's window as last found by its title (change notices).
    HWND option_ = nullptr;
    // A system settings apply is posted and not yet run.
    bool systemApplyQueued_ = false;
    // An arrival waits for its settle timer.
    bool arrivalSettling_ = false;
    // Sleep, lock and the console, and the notices that tell of them.
    runtime::SessionState session_;
    SessionNotices sessionNotices_;
    // A wake-up waits for the mouse to answer: tries left, and whether the
    // full upload is due once it does.
    int recheckTriesLeft_ = 0;
    bool recheckUploadDue_ = false;
    // Created with the window (the program folder is known then).
    std::unique_ptr<MonitorLog> log_;
    std::unique_ptr<Diagnostics> diagnostics_;

    // The private block, and the two buffers it is fetched into and
    // published from.
    GuardedBlock block_;
    std::unique_ptr<settings::SettingsBlock> incoming_;
    // What goes into the shared section: the block without its change flags.
    std::unique_ptr<settings::SettingsBlock> outgoing_;

    std::unique_ptr<runtime::RuntimeBundleWin> runtime_;

    settings::SharedSection shared_;
    device::DeviceLink link_;
    TrayIcon tray_;
    // Declared before the threads, so that they outlive the upload thread.
    SharedFlags flags_;
    win::WorkerThread macroThread_;
    UploadService upload_;
};

}  // namespace monitor
