#include "monitor/app/monitor_wnd_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>

#include "common/copydata_text.h"
#include "common/path_join.h"
#include "common/settings/key_codes_win.h"
#include "common/settings/mouse_registry.h"
#include "common/settings/return_after_game.h"
#include "common/settings/settings_files.h"
#include "common/trace_points.h"
#include "common/win/program_folder_win.h"
#include "common/win/text_mode_win.h"
#include "common/win/wide_text_win.h"
#include "lan/string_ids.h"
#include "monitor/app/monitor_command_win.h"
#include "monitor/app/running_monitor_win.h"
#include "monitor/device/diagnostics_report.h"
#include "monitor/runtime/win/monitor_messages_win.h"

namespace monitor {

namespace {

using protocol::Connection;

constexpr win::RegisteredMessage kTaskbarCreated("TaskbarCreated");

// The mouse settles this long after an arrival before it is opened and gets
// its full upload; a removal meanwhile cancels the arrival. A timer, never a
// sleep: the window thread keeps answering the tray, Exit and the flood of
// notices a flapping connection brings.
constexpr UINT kArrivalSettleMs = 1000;
constexpr UINT_PTR kTimerArrivalSettle = 503;
constexpr UINT kStartUploadDelayMs = 200;
constexpr UINT kGameWatchPeriodMs = 2000;
// After a wake-up the mouse may take a while to answer again (its hub and
// the system's driver wake up first): asked again every half second, for at
// most fifteen seconds, and then taken as gone.
constexpr UINT_PTR kTimerRecheck = 505;
constexpr UINT kRecheckPeriodMs = 500;
constexpr int kRecheckTries = 30;

// The foreground program is polled every two seconds. The end-to-end tests
// of the automatic profiles shorten that with MOUSE_GAME_WATCH_MS (50..2000),
// so that a few polls pass in well under a second.
UINT GameWatchPeriodMs() {
    char text[16] = {};
    const DWORD n = GetEnvironmentVariableA("MOUSE_GAME_WATCH_MS", text, sizeof text);
    const int ms = n > 0 && n < sizeof text ? std::atoi(text) : 0;
    return ms >= 50 && ms <= static_cast<int>(kGameWatchPeriodMs) ? static_cast<UINT>(ms)
                                                                  : kGameWatchPeriodMs;
}

using runtime::kMsgRunCommand;

// The power and session notices the runtime reacts to; any other code is
// passed by.
struct SessionCode {
    WPARAM code;
    runtime::SessionEvent event;
};
constexpr SessionCode kPowerEvents[] = {
    {PBT_APMSUSPEND, runtime::SessionEvent::Suspend},
    {PBT_APMRESUMEAUTOMATIC, runtime::SessionEvent::Resume},
    {PBT_APMRESUMESUSPEND, runtime::SessionEvent::Resume},
};
constexpr SessionCode kSessionChanges[] = {
    {WTS_CONSOLE_CONNECT, runtime::SessionEvent::ConsoleConnect},
    {WTS_CONSOLE_DISCONNECT, runtime::SessionEvent::ConsoleDisconnect},
    {WTS_REMOTE_CONNECT, runtime::SessionEvent::RemoteConnect},
    {WTS_SESSION_LOCK, runtime::SessionEvent::Lock},
    {WTS_SESSION_UNLOCK, runtime::SessionEvent::Unlock},
};

std::optional<runtime::SessionEvent> EventOf(std::span<const SessionCode> codes, WPARAM code) {
    for (const SessionCode& row : codes) {
        if (row.code == code)
            return row.event;
    }
    return std::nullopt;
}

HWND FindByTitle(const char* title) {
    return FindWindowA(nullptr, title);
}

void BringForward(HWND hwnd) {
    if (IsIconic(hwnd))
        ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
}

}  // namespace

std::span<const win::MessageRow<CMonitorWnd>> CMonitorWnd::MessageMap() {
    using W = CMonitorWnd;
    static constexpr win::MessageRow<W> own[] = {
        win::OnMessage<WM_TIMER, &W::OnTimer>(),
        win::OnMessage<WM_COPYDATA, &W::OnCopyData>(),
        win::OnMessage<protocol::kMsgTrayNotify, &W::OnSystrayNotify>(),
        win::OnMessage<protocol::kMsgApplyAll, &W::OnApplyAllSetting>(),
        win::OnMessage<protocol::kMsgReloadBlock, &W::OnReloadBlock>(),
        win::OnMessage<protocol::kMsgReloadAndApply, &W::OnReloadAndApply>(),
        win::OnMessage<protocol::kMsgIgnored, &W::OnIgnored>(),
        win::OnMessage<protocol::kMsgDeviceEvent, &W::OnDeviceEvent>(),
        win::OnMessage<protocol::kMsgDeviceArrival, &W::OnDeviceArrival>(),
        win::OnMessage<runtime::kMsgPostedCall, &W::OnPostedCall>(),
        win::OnRegistered<&W::OnTaskbarCreated>(kTaskbarCreated),
        win::OnCommand<&W::OnCustomizer>(protocol::kCmdOpenOption),
        win::OnCommand<&W::OnExit>(protocol::kCmdExit),
        win::OnMessage<kMsgRunCommand, &W::OnRunCommand>(),
        win::OnCommand<&W::OnRecordDiagnostics>(kCmdRecordDiagnostics),
        win::OnCommand<&W::OnSaveDiagnosticsReport>(kCmdSaveDiagnosticsReport),
        win::OnCommand<&W::OnForgetChannels>(kCmdForgetChannels),
    };
    // The computer sleeping and waking, and the session locking or ending.
    static constexpr win::MessageRow<W> session[] = {
        win::OnMessage<WM_POWERBROADCAST, &W::OnPowerBroadcast>(),
        win::OnMessage<WM_WTSSESSION_CHANGE, &W::OnSessionChange>(),
        win::OnMessage<WM_QUERYENDSESSION, &W::OnQueryEndSession>(),
        win::OnMessage<WM_ENDSESSION, &W::OnEndSession>(),
    };
    static constexpr auto rows =
        win::Checked(win::JoinRows(LifetimeRows(), std::to_array(own), std::to_array(session)));
    return rows;
}

CMonitorWnd::CMonitorWnd()
    : incoming_(std::make_unique<settings::SettingsBlock>()),
      outgoing_(std::make_unique<settings::SettingsBlock>()),
      upload_(UploadService::Ports{
          link_, block_, [this] { return Connected() && flags_.uploadsAllowed.load(); },
          [this, calls = calls_.MakeSender()](int profileIndex) {
              calls.Post([this, profileIndex] { OnProfileSelected(profileIndex); });
          },
          [this](protocol::UploadJob job, device::JobEnd end, unsigned elapsedMs) {
              static constexpr const char* kEnds[] = {"completed", "stopped", "dropped"};
              if (log_)
                  log_->Line("upload job %d %s in %u ms", static_cast<int>(job),
                             kEnds[static_cast<int>(end)], elapsedMs);
          }}) {}

CMonitorWnd::~CMonitorWnd() {
    DestroyWindowNow();
}

bool CMonitorWnd::CreateHidden(bool openOptionAtStart) {
    openOptionAtStart_ = openOptionAtStart;
    win::WindowSpec spec;
    spec.className = "MonitorHiddenWindow";
    spec.title = protocol::kMonitorTitle;
    spec.style = WS_POPUP;
    spec.x = 100;
    spec.y = 100;
    spec.width = 100;
    spec.height = 100;
    return Create(spec);
}

LRESULT CMonitorWnd::OnCreate(const CREATESTRUCTA*) {
    if (CallDefault() == -1)
        return -1;
    if (AnotherMonitorOwnsTheSettings()) {
        // Refused before anything is acquired: the running Monitor's peers,
        // tray icon and config.ini are its own, and nothing is undone here.
        shutDown_ = true;
        return -1;
    }

    calls_.Open(
        [window = Hwnd()] { return PostMessageA(window, runtime::kMsgPostedCall, 0, 0) != FALSE; });
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    folder_ = win::ProgramFolder();
    log_ = std::make_unique<MonitorLog>(folder_);
    log_->Line("Monitor started");
    log_->Line("%s", win::TextModeLine().c_str());
    files_ = std::make_unique<settings::SystemSettingsFiles>(folder_);
    lan_.Load(settings::ReadLanguage(*files_));
    mouseKey_ = registry_.Open(settings::MouseRegistryKey::Mouse, false);
    if (!link_.Bind(folder_))
        log_->Line("error: %s is missing or lacks an export; no mouse can be used",
                   device::kLibraryName);
    else if (!link_.CanCapture())
        log_->Line("the device library records no captures");
    diagnostics_ = std::make_unique<Diagnostics>(Diagnostics::Ports{
        Hwnd(), lan_, folder_, link_, tray_, *log_, block_, [this] { return Connected(); }});

    if (!settings::LoadAll(*files_, &registry_, block_.Unguarded(),
                           settings::DefaultsFor::Monitor)) {
        settings::FillDefaults(block_.Unguarded(), settings::DefaultsFor::Monitor);
        log_->Line("the settings files could not be read (a first start?); the defaults are used");
    }
    runtime_ = std::make_unique<runtime::RuntimeBundleWin>(
        Hwnd(), paths::JoinPath(folder_, settings::kConfigFileName),
        static_cast<runtime::MonitorHost&>(*this),
        [](std::uint8_t code, std::uint8_t& virtualKey) {
            const auto lookup = settings::VirtualKeyFromKeyCode(code);
            virtualKey = static_cast<std::uint8_t>(lookup.value);
            return lookup.found;
        },
        [this] { return calls_.Post([this] { OnFlushOsd(); }); });
    LoadOsdOptions();
    LoadReturnChoices();

    switch (shared_.Create()) {
        case settings::SharedSection::CreateResult::Created:
            PublishBlock();
            break;
        case settings::SharedSection::CreateResult::MappingFailed:
            log_->Line("error: the shared settings section could not be created");
            break;
    }

    macroThread_.Start([this](UINT m, WPARAM w, LPARAM l) { OnMacroThreadMessage(m, w, l); });
    upload_.Start();

    SetWindowLongPtrA(Hwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);

    // Started in a session that is not the console's (a remote desktop, a
    // user switched away from): nothing runs and nothing reaches the mouse
    // until the console comes back.
    sessionNotices_.Register(Hwnd());
    session_ = runtime::SessionState(SessionNotices::AtConsole());
    flags_.uploadsAllowed.store(session_.UploadsAllowed());
    runtime_->Runtime().SetActionsRun(session_.ActionsRun());
    if (!session_.AtConsole())
        log_->Line("started away from the console: no actions, nothing sent to the mouse");

    const bool opened = link_.OpenAtStartup(Hwnd());
    if (opened) {
        SetTimer(Hwnd(), protocol::kTimerGameWatch, GameWatchPeriodMs(), nullptr);
        SetTimer(Hwnd(), protocol::kTimerStartUpload, kStartUploadDelayMs, nullptr);
        AddTrayIcon();
        if (openOptionAtStart_)
            OnCustomizer();
    }
    SetConnection(opened ? Connection::Connected : Connection::NotOpened);
    WriteDeviceState(opened);
    log_->Line(opened ? "mouse present at start-up" : "no mouse at start-up");
    if (opened)
        LogChannels();

    ApplySystemMouseSettings();
    StartCompanions();
    return 0;
}

// The settings mutex outlives a Monitor that crashed while Option held it
// open. Only a Monitor window tells a running Monitor from such a leftover;
// the leftover is then taken over (the mutex and section are opened as they
// are and the block published), so Option's handles keep working. Two
// Monitors never get this far together: the application's single-instance
// mutex lets exactly one of them create its window.
bool CMonitorWnd::AnotherMonitorOwnsTheSettings() {
    if (!settings::SharedSection::MutexExists())
        return false;
    return OtherMonitorWindowAppears(Hwnd(), kRunningMonitorWaitMs);
}

void CMonitorWnd::OnDestroy() {
    ShutDown();
    CallDefault();
    PostQuitMessage(0);
}

void CMonitorWnd::ShutDown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    KillTimer(Hwnd(), protocol::kTimerGameWatch);
    KillTimer(Hwnd(), protocol::kTimerStartUpload);
    KillTimer(Hwnd(), kTimerArrivalSettle);
    arrivalSettling_ = false;
    EndRecheck();
    sessionNotices_.Unregister();
    if (diagnostics_)
        diagnostics_->Stop();
    // First, while nothing else is torn down yet: the icon goes the moment
    // Exit is chosen.
    tray_.Remove();

    if (HWND option = FindByTitle(protocol::kOptionTitle))
        PostMessageA(option, WM_CLOSE, 0, 0);
    for (const char* title : protocol::kCompanionTitles) {
        if (HWND companion = FindByTitle(title))
            PostMessageA(companion, WM_CLOSE, 0, 0);
    }

    if (runtime_)
        runtime_->Runtime().Shutdown();

    upload_.Stop();
    link_.Shutdown();
    macroThread_.Stop();
    // The last notice's text still reaches config.ini.
    if (runtime_)
        runtime_->FlushOsd();
    runtime_.reset();
    // Whatever is still queued for the window is dropped, and later posts too.
    calls_.Close();

    shared_.Close();
    mouseKey_.reset();
    lan_.Unload();
    if (log_)
        log_->Line("Monitor ended");
}

LRESULT CMonitorWnd::OnTimer(UINT_PTR id) {
    switch (id) {
        case protocol::kTimerStartUpload:
            KillTimer(Hwnd(), protocol::kTimerStartUpload);
            upload_.Queue(protocol::UploadJob::Full);
            break;
        case kTimerArrivalSettle:
            KillTimer(Hwnd(), kTimerArrivalSettle);
            if (arrivalSettling_) {
                arrivalSettling_ = false;
                OnArrival();
            }
            break;
        case kTimerRecheck:
            OnRecheckTimer();
            break;
        case kTimerCaptureWatch:
            diagnostics_->OnCaptureTimer();
            break;
        case protocol::kTimerVolumeRepeat:
            runtime_->Runtime().OnVolumeTimer();
            break;
        case protocol::kTimerKeyRepeat:
            runtime_->Runtime().OnKeyRepeatTimer();
            break;
        case protocol::kTimerGameWatch:
            runtime_->Runtime().OnGameWatchTimer();
            break;
        default:
            break;
    }
    return CallDefault();
}

LRESULT CMonitorWnd::OnCopyData(HWND, const COPYDATASTRUCT* data) {
    // Another process's memory: only the declared 151 bytes are ever read.
    if (data == nullptr || data->lpData == nullptr)
        return 1;
    if (data->dwData == kReportRequestTag && diagnostics_)
        return diagnostics_->AnswerReportRequest(*data);
    const auto text = protocol::OsdTextFromCopyData(
        std::span(static_cast<const std::byte*>(data->lpData), data->cbData));
    if (!text)
        return 1;
    runtime_->Runtime().Notices().AppletText(text->c_str(), Connected());
    // The sender may read config.ini as soon as this message returns.
    runtime_->FlushOsd();
    return 1;
}

void CMonitorWnd::OnSystrayNotify(win::LParam<UINT> mouseMessage) {
    switch (mouseMessage.value) {
        case WM_LBUTTONDOWN: {
            HWND popup = GetLastActivePopup(Hwnd());
            if (popup == nullptr)
                return;
            if (IsIconic(popup))
                ShowWindow(popup, SW_SHOWNORMAL);
            SetForegroundWindow(popup);
            SetActiveWindow(popup);
            break;
        }
        case WM_LBUTTONDBLCLK:
            win::DebugText("OnSystrayNotify WM_LBUTTONDBLCLK\n");
            OnCustomizer();
            break;
        case WM_RBUTTONDOWN: {
            if (HWND popup = GetLastActivePopup(Hwnd()))
                SetForegroundWindow(popup);
            // Option may have changed the language since the last menu.
            lan_.Choose(settings::ReadLanguage(*files_));
            ShowTrayMenu(Hwnd(),
                         {{protocol::kCmdOpenOption, lan_.Text(protocol::kStrOpenConfiguration)},
                          {},
                          {kCmdRecordDiagnostics, lan_.Text(lan::kRecordDiagnostics)},
                          {kCmdSaveDiagnosticsReport, lan_.Text(lan::kSaveDiagnosticsReport)},
                          {kCmdForgetChannels, lan_.Text(lan::kForgetChannels)},
                          {},
                          {protocol::kCmdExit, lan_.Text(protocol::kStrExit)}});
            break;
        }
        default:
            break;
    }
}

// wParam (reset to defaults) is already in the shared block Option wrote.
void CMonitorWnd::OnApplyAllSetting(win::WParam<WPARAM>) {
    FetchSharedBlock();
    ApplySystemMouseSettings();
    LoadOsdOptions();
    LoadReturnChoices();
    runtime_->Runtime().Notices().SettingsChanged();
    // With no mouse the Apply is answered at once; otherwise after its job,
    // or by the queue when no job can run.
    if (Connection() != Connection::Connected)
        upload_.AnswerApplyNow();
    else
        upload_.Queue(protocol::UploadJob::ChangedOnly);
}

void CMonitorWnd::OnReloadBlock() {
    FetchSharedBlock();
}

void CMonitorWnd::OnReloadAndApply() {
    FetchSharedBlock();
    ApplySystemMouseSettings();
}

void CMonitorWnd::OnIgnored() {}

void CMonitorWnd::OnDeviceEvent(win::WParam<WPARAM> category, win::LParam<LPARAM> data) {
    runtime_->Runtime().OnDeviceEvent(category.value, data.value);
}

void CMonitorWnd::OnDeviceArrival(win::WParam<WPARAM> arrived) {
    runtime_->Runtime().OnConnectionMessage(arrived.value);
}

void CMonitorWnd::OnPostedCall() {
    calls_.RunOne();
}

void CMonitorWnd::OnProfileSelected(int profileIndex) {
    if (runtime_)
        runtime_->Runtime().OnProfileSelected(profileIndex);
}

// Arrivals and removals come from the library's notices (1326) and from the
// mouse's own connection reports (device events) alike. Only the state they
// end on counts: a removal cancels an arrival still settling, and repeats of
// the current state change nothing, so a flapping connection ends in at most
// one opening and one full upload.
void CMonitorWnd::ConnectionEvent(bool arrived) {
    if (arrived) {
        OnArrivalNotice();
        return;
    }
    if (arrivalSettling_) {
        KillTimer(Hwnd(), kTimerArrivalSettle);
        arrivalSettling_ = false;
        log_->Line("removal before the arrival settled");
    }
    EndRecheck();
    OnRemoval();
}

void CMonitorWnd::OnArrivalNotice() {
    if (Connection() == Connection::Connected || arrivalSettling_ || shutDown_)
        return;
    arrivalSettling_ = SetTimer(Hwnd(), kTimerArrivalSettle, kArrivalSettleMs, nullptr) != 0;
    log_->Line("arrival; settling for %u ms", kArrivalSettleMs);
    if (!arrivalSettling_)
        OnArrival();
}

void CMonitorWnd::LoadOsdOptions() {
    settings::LoadOsdSettings(*files_, osd_);
    runtime_->Runtime().Notices().SetOptions(runtime::OsdOptionsFromRecord(&osd_, sizeof osd_));
}

void CMonitorWnd::LoadReturnChoices() {
    runtime_->Runtime().GameReturns().SetChoices(settings::ReadReturnAfterGame(*files_));
}

LRESULT CMonitorWnd::OnRunCommand(win::WParam<runtime::CommandKind> kind,
                                  win::LParam<int> profileIndex) {
    using runtime::CommandResult;
    const bool profile = kind.value == runtime::CommandKind::Profile;
    if (!(profile && settings::IsValidProfileIndex(profileIndex.value)) &&
        kind.value != runtime::CommandKind::Apply) {
        return static_cast<LRESULT>(CommandResult::BadArgument);
    }
    if (!runtime_ || !Connected())
        return static_cast<LRESULT>(CommandResult::MouseAbsent);
    if (profile) {
        // As the mouse's profile button: the selection, the notice, Option told.
        runtime_->Runtime().SwitchProfile(profileIndex.value);
    } else {
        QueueFullUpload();
    }
    return static_cast<LRESULT>(CommandResult::Done);
}

bool CMonitorWnd::PostUploadJob(protocol::UploadJob job) {
    return upload_.Queue(job);
}

void CMonitorWnd::ChangeBlock(const std::function<void(settings::SettingsBlock&)>& change) {
    block_.Change(change);
}

void CMonitorWnd::WriteRegistryAndApply() {
    // Applying notifies every top-level window of every program, several
    // times: far slower than a profile switch arrives in a burst. The work is
    // posted behind the messages already queued, and a switch that finds it
    // still queued adds nothing, so a burst ends with one apply of the
    // profile it ended on.
    if (systemApplyQueued_)
        return;
    systemApplyQueued_ = calls_.Post([this] { OnApplySystemSettings(); });
    if (!systemApplyQueued_)
        OnApplySystemSettings();
}

void CMonitorWnd::OnFlushOsd() {
    if (runtime_)
        runtime_->FlushOsd();
}

void CMonitorWnd::OnApplySystemSettings() {
    systemApplyQueued_ = false;
    if (const settings::ProfileRecord* profile = settings::CurrentProfile(block_.Get())) {
        settings::WriteRegistryFromProfile(registry_, *profile);
    }
    ApplySystemMouseSettings();
}

bool CMonitorWnd::PostToOption(unsigned message) {
    // Every setting the mouse changes is reported to Option; looking its
    // window up by title walks every top-level window (a millisecond or more
    // under Wine), so the last window found is used while it exists.
    if (option_ == nullptr || !IsWindow(option_))
        option_ = FindByTitle(protocol::kOptionTitle);
    return option_ != nullptr && PostMessageA(option_, message, 0, 0) != FALSE;
}

void CMonitorWnd::PostOpenOption() {
    PostMessageA(Hwnd(), WM_COMMAND, protocol::kCmdOpenOption, 0);
}

bool CMonitorWnd::PostPlayMacro() {
    return macroThread_.Post(protocol::kThreadPlayMacro, 0, 0);
}

void CMonitorWnd::Launch(const char* path) {
    if (path != nullptr)
        ShellOpen(path);
}

void CMonitorWnd::OnTaskbarCreated() {
    if (Connection() == Connection::Connected)
        AddTrayIcon();
}

void CMonitorWnd::OnCustomizer() {
    win::DebugText(trace::kCustomizerAsked);
    if (HWND option = FindByTitle(protocol::kOptionTitle)) {
        win::DebugText(trace::kCustomizerRestored);
        BringForward(option);
        return;
    }
    win::DebugText(trace::kCustomizerStarted);
    ShellOpen(paths::JoinPath(folder_, "Option.exe"));
}

void CMonitorWnd::OnExit() {
    // Closed now, not by a WM_CLOSE posted behind whatever the mouse has
    // queued meanwhile: after a burst of device events that backlog, not the
    // shut-down, would make the Exit slow.
    SendMessageA(Hwnd(), WM_CLOSE, 0, 0);
}

void CMonitorWnd::OnRecordDiagnostics() {
    diagnostics_->OnRecord();
}

void CMonitorWnd::OnSaveDiagnosticsReport() {
    diagnostics_->OnSaveReport();
}

void CMonitorWnd::OnForgetChannels() {
    diagnostics_->OnForgetChannels();
}

void CMonitorWnd::FetchSharedBlock() {
    if (!shared_.Fetch(*incoming_))
        return;
    block_.SwapIn(incoming_);
}

void CMonitorWnd::PublishBlock() {
    // The change flags belong to the uploads Monitor starts itself; published,
    // they would make Option's next Apply send what did not change.
    *outgoing_ = block_.Get();
    settings::ClearChanges(*outgoing_);
    shared_.Publish(*outgoing_);
}

void CMonitorWnd::ApplySystemMouseSettings() {
    // Changing system parameters notifies every top-level window, so it runs
    // on a copy of the profile, outside the block's lock; the one field it
    // may change (acceleration turned off to match the registry) then goes
    // into the block under the lock the upload thread copies it under, and
    // on to Option.
    const settings::ProfileRecord* current = settings::CurrentProfile(block_.Get());
    if (current == nullptr)
        return;
    auto profile = std::make_unique<settings::ProfileRecord>(*current);
    settings::Win32SystemMouse system(Hwnd());
    settings::ApplySystemMouseSettings(*profile, system, mouseKey_.get());
    const int acceleration = profile->Acceleration;
    if (acceleration == current->Acceleration)
        return;
    ChangeBlock([acceleration](settings::SettingsBlock& block) {
        if (settings::ProfileRecord* p = settings::CurrentProfile(block))
            p->Acceleration = acceleration;
    });
    PublishBlock();
}

void CMonitorWnd::QueueFullUpload() {
    ChangeBlock([](settings::SettingsBlock& block) { settings::MarkAllChanged(block); });
    upload_.Queue(protocol::UploadJob::Full);
}

void CMonitorWnd::OnArrival(bool channelsOpen) {
    if (Connection() == Connection::Connected)
        return;
    EndRecheck();
    SetConnection(Connection::Connected);
    if (!channelsOpen && !link_.Reopen())
        log_->Line("error: the mouse arrived but its channels did not open");
    log_->Line("mouse connected");
    LogChannels();
    QueueFullUpload();
    AddTrayIcon();
    WriteDeviceState(true);
    SetTimer(Hwnd(), protocol::kTimerGameWatch, GameWatchPeriodMs(), nullptr);
}

void CMonitorWnd::OnRemoval() {
    if (Connection() == Connection::Removed)
        return;
    SetConnection(Connection::Removed);
    log_->Line("mouse removed");
    link_.CloseChannels();
    upload_.AbortRunningJob();
    tray_.Remove();
    KillTimer(Hwnd(), protocol::kTimerGameWatch);
    WriteDeviceState(false);
    if (HWND option = FindByTitle(protocol::kOptionTitle))
        PostMessageA(option, WM_CLOSE, 0, 0);
}

LRESULT CMonitorWnd::OnPowerBroadcast(WPARAM event) {
    if (const auto sessionEvent = EventOf(kPowerEvents, event))
        OnSessionEvent(*sessionEvent);
    return TRUE;
}

// Only this session's changes are asked for.
void CMonitorWnd::OnSessionChange(WPARAM change, DWORD) {
    if (const auto sessionEvent = EventOf(kSessionChanges, change))
        OnSessionEvent(*sessionEvent);
}

void CMonitorWnd::OnSessionEvent(runtime::SessionEvent event) {
    if (shutDown_ || !runtime_)
        return;
    static constexpr const char* kNames[] = {
        "suspend",       "resume", "lock", "unlock", "console connect", "console disconnect",
        "remote connect"};
    const bool atConsoleNow = event != runtime::SessionEvent::Unlock || SessionNotices::AtConsole();
    const runtime::SessionReaction reaction = session_.On(event, atConsoleNow, GetTickCount64());
    log_->Line("session: %s; actions %s, uploads %s", kNames[static_cast<int>(event)],
               session_.ActionsRun() ? "on" : "off", session_.UploadsAllowed() ? "on" : "off");
    flags_.uploadsAllowed.store(session_.UploadsAllowed());
    if (reaction.releaseKeys)
        runtime_->Runtime().StopActions();
    runtime_->Runtime().SetActionsRun(session_.ActionsRun());
    if (reaction.abortUpload)
        upload_.AbortRunningJob();
    if (reaction.reopenChannels) {
        BeginRecheck(reaction.fullUpload);
    } else if (reaction.fullUpload && Connected()) {
        QueueFullUpload();
    }
}

void CMonitorWnd::BeginRecheck(bool fullUpload) {
    // The library keeps its channels open through a sleep; a mouse that lost
    // power, or was swapped, answers only on channels opened anew. Many
    // mice also forget their settings in sleep with no removal told.
    EndRecheck();
    recheckUploadDue_ = fullUpload;
    if (!link_.IsBound())
        return;
    link_.CloseChannels();
    recheckTriesLeft_ = kRecheckTries;
    OnRecheckTimer();
}

void CMonitorWnd::OnRecheckTimer() {
    if (recheckTriesLeft_ <= 0)
        return;
    --recheckTriesLeft_;
    if (link_.Reopen()) {
        KillTimer(Hwnd(), kTimerRecheck);
        recheckTriesLeft_ = 0;
        log_->Line("the mouse answers after the wake-up");
        if (Connection() != Connection::Connected) {
            // Plugged in while the computer slept: an arrival.
            OnArrival(true);
        } else if (recheckUploadDue_) {
            QueueFullUpload();
        }
        recheckUploadDue_ = false;
        return;
    }
    if (recheckTriesLeft_ == kRecheckTries - 1)
        SetTimer(Hwnd(), kTimerRecheck, kRecheckPeriodMs, nullptr);
    if (recheckTriesLeft_ > 0)
        return;
    KillTimer(Hwnd(), kTimerRecheck);
    recheckUploadDue_ = false;
    log_->Line("the mouse did not answer after the wake-up");
    // Gone while the computer slept, with no removal told.
    if (Connection() == Connection::Connected)
        OnRemoval();
}

void CMonitorWnd::EndRecheck() {
    if (recheckTriesLeft_ > 0)
        KillTimer(Hwnd(), kTimerRecheck);
    recheckTriesLeft_ = 0;
    recheckUploadDue_ = false;
}

LRESULT CMonitorWnd::OnQueryEndSession() {
    // Nothing to save that is not saved already: the session may end.
    return TRUE;
}

void CMonitorWnd::OnEndSession(bool ending, LPARAM) {
    if (!ending || shutDown_)
        return;
    // The process may be ended any time after this message returns: first
    // what must not be left half done (keys held down, an upload in the
    // middle of a profile), then the whole shut-down.
    if (runtime_) {
        runtime_->Runtime().StopActions();
        runtime_->FlushOsd();
    }
    upload_.EndJobs();
    log_->Line("the session ends");
    DestroyWindow(Hwnd());
}

void CMonitorWnd::LogChannels() {
    for (const std::string& line : device::ChannelLines(link_.DeviceReport()))
        log_->Line("channel: %s", line.c_str());
}

void CMonitorWnd::WriteDeviceState(bool connected) {
    settings::WriteDevice(*files_, connected);
}

void CMonitorWnd::AddTrayIcon() {
    if (!tray_.Add(Hwnd(), lan_.Text(protocol::kStrTrayTip)))
        log_->Line("error: the tray icon could not be added");
}

void CMonitorWnd::StartCompanions() {
    ShellOpen(paths::JoinPath(folder_, "VantorOSD.exe"));
    ShellOpen(paths::JoinPath(folder_, "Applets\\Meterix.exe"));
    ShellOpen(paths::JoinPath(folder_, "Applets\\Postrel.EXE"));
}

void CMonitorWnd::ShellOpen(const std::string& path) {
    // Without the no-UI flag a missing program would put up an error box on a
    // resident program's behalf; the result is not looked at either way.
    // Wide: a launched program's path may hold any script.
    const std::wstring file = win::Wide(path);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
}

void CMonitorWnd::OnMacroThreadMessage(UINT message, WPARAM, LPARAM) {
    if (message == protocol::kThreadPlayMacro && runtime_)
        runtime_->Runtime().PlayQueuedMacro();
}

}  // namespace monitor
