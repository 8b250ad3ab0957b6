// Monitor's application object: single instance, the command line ("1", and
// the commands a running Monitor is handed or a new one carries out), the
// hidden window and its message loop, and what a crash leaves behind.
#include <windows.h>

#include <memory>
#include <optional>

#include "common/protocol.h"
#include "common/trace_points.h"
#include "common/win/crash_dump_win.h"
#include "common/win/dpi_win.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "monitor/app/monitor_command_win.h"
#include "monitor/app/monitor_log_win.h"
#include "monitor/app/monitor_wnd_win.h"
#include "monitor/app/running_monitor_win.h"
#include "monitor/runtime/win/held_input_win.h"

namespace monitor {

class CMonitorApp {
  public:
    int Run(const char* commandLine);

  private:
    bool InitInstance(const char* commandLine);
    void ExitInstance();

    // Created unowned: its name alone marks the running Monitor.
    win::ScopedHandle instanceMutex_;
    bool openOptionAtStart_ = false;
    std::optional<win::ScopedComApartment> com_;
    runtime::MonitorCommand command_;
    int exitCode_ = 0;
    std::unique_ptr<CMonitorWnd> window_;
};

int CMonitorApp::Run(const char* commandLine) {
    if (!InitInstance(commandLine)) {
        ExitInstance();
        return exitCode_;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ExitInstance();
    return exitCode_;
}

bool CMonitorApp::InitInstance(const char* commandLine) {
    win::DebugText(trace::kMonitorCommandLine, commandLine);
    // The arguments as the system splits them, so that a report path keeps
    // every character.
    command_ = runtime::ParseMonitorArguments(CommandLineArguments());
    openOptionAtStart_ = command_.kind == runtime::CommandKind::OpenOption;
    if (command_.kind == runtime::CommandKind::Report) {
        exitCode_ = static_cast<int>(RunReportCommand(WideFromUtf8(command_.reportPath)));
        return false;
    }
    if (command_.kind == runtime::CommandKind::ForgetChannels) {
        exitCode_ = static_cast<int>(RunForgetChannelsCommand());
        return false;
    }
    if (command_.kind == runtime::CommandKind::Usage) {
        ShowUsage();
        return false;
    }
    if (command_.kind == runtime::CommandKind::Bad) {
        exitCode_ = static_cast<int>(runtime::CommandResult::BadArgument);
        ShowBadArgument(command_.badArgument);
        return false;
    }
    if (!command_.ignoredArgument.empty()) {
        // Started as usual; the log says what was passed over, for whoever
        // wonders why a shortcut's argument had no effect.
        constexpr std::size_t kLoggedLength = 64;
        MonitorLog(win::ProgramFolder())
            .Line("command line: unknown argument \"%s\" ignored; a normal start",
                  command_.ignoredArgument.substr(0, kLoggedLength).c_str());
    }
    const bool forwarded = command_.kind == runtime::CommandKind::Profile ||
                           command_.kind == runtime::CommandKind::Apply;

    instanceMutex_.Reset(CreateMutexA(nullptr, FALSE, protocol::kMonitorInstanceMutex));
    if (instanceMutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {
        instanceMutex_.Reset();
        // The Start-menu entry starts a Monitor with "1": the running one opens
        // Option, even when it was started a moment ago and is still creating
        // its window.
        if (openOptionAtStart_) {
            if (HWND running = RunningMonitorWindow(kRunningMonitorWaitMs)) {
                PostMessageA(running, WM_COMMAND, protocol::kCmdOpenOption, 0);
            }
        }
        if (forwarded) {
            HWND running = RunningMonitorWindow(kRunningMonitorWaitMs);
            exitCode_ = static_cast<int>(running != nullptr ? ForwardCommand(running, command_)
                                                            : runtime::CommandResult::MouseAbsent);
        }
        return false;
    }

    // Once for the whole thread: the window's shell calls need it.
    com_.emplace();
    window_ = std::make_unique<CMonitorWnd>();
    if (!window_->CreateHidden(openOptionAtStart_))
        return false;
    // No Monitor ran: this one starts and then carries the command out.
    if (forwarded)
        QueueOwnCommand(window_->Hwnd(), command_);
    return true;
}

void CMonitorApp::ExitInstance() {
    window_.reset();
    com_.reset();
    instanceMutex_.Reset();
}

}  // namespace monitor

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    // A crash lets go of the keys a button holds down before anything else.
    win::InstallCrashDumps(L"Monitor", runtime::ReleaseHeldInputAfterCrash);
    win::BecomeDpiAware();
    monitor::CMonitorApp app;
    return app.Run(commandLine != nullptr ? commandLine : "");
}
