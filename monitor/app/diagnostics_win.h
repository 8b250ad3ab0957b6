// The tray's diagnostics items: a capture of what passes between the
// computer and the mouse, recorded by the device library for five minutes and
// shown in its folder when done; a report file the user saves where they
// choose, for a fault report; and forgetting the channel the device library
// remembered for the mouse.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/win/language_module_win.h"
#include "monitor/app/guarded_block.h"
#include "monitor/app/monitor_log_win.h"
#include "monitor/app/tray_icon_win.h"
#include "monitor/device/device_link_win.h"

namespace monitor {

// Tray menu commands, after open (6001) and exit (6002).
inline constexpr unsigned kCmdRecordDiagnostics = 6003;
inline constexpr unsigned kCmdSaveDiagnosticsReport = 6004;
inline constexpr unsigned kCmdForgetChannels = 6005;
// Watches a capture while one is recorded.
inline constexpr UINT_PTR kTimerCaptureWatch = 504;

// Monitor.exe /report PATH asks the running Monitor for its report with a
// WM_COPYDATA of this tag, the path as NUL-terminated UTF-16. The answers are
// not 0 or 1, which a Monitor that does not know the request gives.
inline constexpr ULONG_PTR kReportRequestTag = 0x4D525054;  // "MRPT"
inline constexpr LRESULT kReportWritten = 0x52505431;
inline constexpr LRESULT kReportNotWritten = 0x52505430;

// Who writes a report, as the report tells it.
enum class ReportWriter {
    RunningMonitor,       // the running Monitor, with everything it knows
    NoMonitorRunning,     // Monitor.exe /report, which looked at the mouse itself
    MonitorDidNotAnswer,  // Monitor.exe /report; the running Monitor holds the mouse
};

// The report of a Monitor.exe /report that no running Monitor wrote: the
// program folder, the system and, when no Monitor holds it, the mouse.
std::string BuildReportWithoutMonitor(ReportWriter writer);

// Writes `text` to `path` whole; false when it cannot be written.
bool WriteReportFile(const std::wstring& path, const std::string& text);

class Diagnostics {
  public:
    struct Ports {
        HWND window;
        const win::LanguageModule& strings;
        std::string programFolder;
        device::DeviceLink& link;
        TrayIcon& tray;
        MonitorLog& log;
        GuardedBlock& block;
        std::function<bool()> connected;
    };

    explicit Diagnostics(Ports ports) : ports_(std::move(ports)) {}

    void OnRecord();
    void OnCaptureTimer();
    void OnSaveReport();
    void OnForgetChannels();
    // A report request of Monitor.exe /report (WM_COPYDATA tagged
    // kReportRequestTag): writes the report and answers kReportWritten or
    // kReportNotWritten.
    LRESULT AnswerReportRequest(const COPYDATASTRUCT& request);
    void Stop();

  private:
    void CaptureDone();
    std::string Text(unsigned id) const;
    // A notice on the tray icon; a message box when there is no icon.
    void Notice(unsigned textId, bool warning);
    std::string BuildReport();
    bool ChooseReportFile(std::string& path);

    Ports ports_;
    bool watching_ = false;
    // The library said it records: its end is what the watch waits for. A
    // capture armed while the mouse is away starts only at its arrival.
    bool sawRecording_ = false;
    bool choosingFile_ = false;
    bool stopped_ = false;
};

}  // namespace monitor
