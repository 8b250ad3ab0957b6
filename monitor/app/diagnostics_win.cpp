#include "monitor/app/diagnostics_win.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "lan/string_ids.h"
#include "monitor/device/diagnostics_report.h"

namespace monitor {

namespace {

constexpr UINT kCaptureWatchMs = 2000;
constexpr std::size_t kReportLogLines = 200;
// A capture stops at 2 MB; the report carries its end.
constexpr std::size_t kReportCaptureBytes = 256 * 1024;

std::string FileVersion(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) ||
        info == nullptr || length < sizeof *info)
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu",
                  static_cast<unsigned long>(HIWORD(info->dwFileVersionMS)),
                  static_cast<unsigned long>(LOWORD(info->dwFileVersionMS)),
                  static_cast<unsigned long>(HIWORD(info->dwFileVersionLS)),
                  static_cast<unsigned long>(LOWORD(info->dwFileVersionLS)));
    return text;
}

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

// The version the system reports to a program that asks the kernel (the
// documented calls answer what the manifest declares), and Wine's own when
// it runs there.
std::string WindowsVersion() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    std::string text = "unknown";
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto getVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (getVersion != nullptr && getVersion(&info) == 0) {
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, "%lu.%lu build %lu",
                      static_cast<unsigned long>(info.dwMajorVersion),
                      static_cast<unsigned long>(info.dwMinorVersion),
                      static_cast<unsigned long>(info.dwBuildNumber));
        text = buffer;
    }
    using WineVersionFn = const char*(__cdecl*)();
    const auto wine = reinterpret_cast<WineVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
    if (wine != nullptr && wine() != nullptr)
        text += std::string(" (Wine ") + wine() + ")";
    return text;
}

int DisplayScalePercent() {
    win::ScopedWindowDc screen(nullptr);
    const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 96;
    return (dpi * 100 + 48) / 96;
}

// The end of a file: at most `limit` bytes; `cut` when there was more.
std::string FileTail(const std::string& path, std::size_t limit, bool& cut) {
    cut = false;
    win::ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return {};
    std::size_t length = static_cast<std::size_t>(size.QuadPart);
    if (length > limit) {
        cut = true;
        LARGE_INTEGER from{};
        from.QuadPart = size.QuadPart - static_cast<LONGLONG>(limit);
        SetFilePointerEx(file.Get(), from, nullptr, FILE_BEGIN);
        length = limit;
    }
    std::string text(length, '\0');
    DWORD read = 0;
    if (length == 0 ||
        !ReadFile(file.Get(), text.data(), static_cast<DWORD>(length), &read, nullptr))
        return {};
    text.resize(read);
    if (cut) {
        // Start at a whole line.
        const std::size_t lineEnd = text.find('\n');
        if (lineEnd != std::string::npos)
            text.erase(0, lineEnd + 1);
    }
    return text;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
    win::ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
               FALSE &&
           written == text.size();
}

}  // namespace

std::string Diagnostics::Text(unsigned id) const {
    return win::LoadModuleString(ports_.strings, id, 512);
}

void Diagnostics::Notice(unsigned textId, bool warning) {
    const std::string caption = Text(lan::kDiagnosticsCaption);
    const std::string text = Text(textId);
    if (ports_.tray.ShowBalloon(caption, text, warning))
        return;
    MessageBoxA(ports_.window, text.c_str(), caption.c_str(),
                MB_OK | MB_SETFOREGROUND | (warning ? MB_ICONWARNING : MB_ICONINFORMATION));
}

void Diagnostics::OnRecord() {
    if (stopped_)
        return;
    if (!ports_.link.CanCapture()) {
        ports_.log.Line("diagnostics: the device library cannot record captures");
        Notice(lan::kDiagnosticsUnavailable, true);
        return;
    }
    if (!ports_.link.StartCapture()) {
        ports_.log.Line("error: the capture could not be started (no file)");
        Notice(lan::kDiagnosticsNotStarted, true);
        return;
    }
    // Without the mouse the library records from its next arrival on: the
    // watch ends only once it has been seen recording and then stopping.
    sawRecording_ = ports_.link.Capturing();
    ports_.log.Line(sawRecording_ || ports_.connected() ? "capture started"
                                                        : "capture waits for the mouse");
    watching_ = true;
    SetTimer(ports_.window, kTimerCaptureWatch, kCaptureWatchMs, nullptr);
    Notice(lan::kDiagnosticsRecording, false);
}

void Diagnostics::OnCaptureTimer() {
    if (!watching_) {
        KillTimer(ports_.window, kTimerCaptureWatch);
        return;
    }
    if (ports_.link.Capturing()) {
        sawRecording_ = true;
        return;
    }
    if (sawRecording_)
        CaptureDone();
}

void Diagnostics::CaptureDone() {
    watching_ = false;
    sawRecording_ = false;
    KillTimer(ports_.window, kTimerCaptureWatch);
    const std::string path = ports_.link.CapturePath();
    if (path.empty()) {
        ports_.log.Line("error: the capture ended without a file");
        return;
    }
    ports_.log.Line("capture done: %s", path.c_str());
    // The folder first: without a tray icon the notice is a message box,
    // which would hold it back until dismissed.
    const std::string select = "/select,\"" + path + "\"";
    ShellExecuteA(nullptr, "open", "explorer.exe", select.c_str(), nullptr, SW_SHOWNORMAL);
    Notice(lan::kDiagnosticsRecorded, false);
}

void Diagnostics::Stop() {
    stopped_ = true;
    watching_ = false;
    KillTimer(ports_.window, kTimerCaptureWatch);
}

std::string Diagnostics::BuildReport() {
    device::DiagnosticsFacts facts;
    facts.programVersion = FileVersion(ModulePath(nullptr));
    if (ports_.link.IsBound()) {
        const std::string version = FileVersion(ports_.programFolder + device::kLibraryName);
        facts.libraryVersion = version.empty() ? "loaded (no version information)" : version;
    }
    facts.windowsVersion = WindowsVersion();
    facts.displayScalePercent = DisplayScalePercent();
    facts.mousePresent = ports_.connected();
    facts.diagnosticsAvailable = ports_.link.CanCapture();
    facts.deviceReport = ports_.link.DeviceReport();
    facts.logLines = ports_.log.LastLines(kReportLogLines);
    facts.capturePath = ports_.link.CapturePath();
    if (!facts.capturePath.empty())
        facts.captureText = FileTail(facts.capturePath, kReportCaptureBytes, facts.captureCut);
    return device::BuildDiagnosticsReport(facts, device::PrivateNames(ports_.block.Get()));
}

bool Diagnostics::ChooseReportFile(std::string& path) {
    char desktop[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char file[MAX_PATH] = {};
    std::snprintf(file, sizeof file, "Mouse diagnostics %04u-%02u-%02u %02u%02u.txt", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute);
    // "Text files\0*.txt\0\0"
    std::string filter = Text(lan::kTextFiles);
    filter += std::string("\0*.txt\0\0", 8);
    // The menu item's text, without its access key.
    std::string title = Text(lan::kSaveDiagnosticsReport);
    std::erase(title, '&');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ports_.window;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = desktop[0] != '\0' ? desktop : nullptr;
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = "txt";
    dialog.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    // The hidden window cannot take the foreground for its dialog.
    SetForegroundWindow(ports_.window);
    if (!GetSaveFileNameA(&dialog))
        return false;
    path = file;
    return true;
}

void Diagnostics::OnSaveReport() {
    // One dialog at a time: the tray menu still answers while it is open.
    if (stopped_ || choosingFile_)
        return;
    // Gathered first: Exit may end Monitor while the dialog is open.
    const std::string report = BuildReport();
    std::string path;
    choosingFile_ = true;
    const bool chosen = ChooseReportFile(path);
    choosingFile_ = false;
    if (!chosen || stopped_)
        return;
    if (WriteWholeFile(path, report)) {
        ports_.log.Line("diagnostics report saved");
        return;
    }
    const DWORD error = GetLastError();
    ports_.log.Line("error: the diagnostics report could not be written (error %lu)",
                    static_cast<unsigned long>(error));
    const std::string text = Text(lan::kReportNotSaved) + "\n" + path;
    MessageBoxA(ports_.window, text.c_str(), Text(lan::kDiagnosticsCaption).c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

}  // namespace monitor
