#include "monitor/app/diagnostics_win.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <vector>

#include "common/settings/ini_file_win.h"
#include "common/settings/settings_files.h"
#include "common/win/crash_dump_win.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "lan/string_ids.h"
#include "monitor/device/diagnostics_report.h"

namespace monitor {

namespace {

constexpr UINT kCaptureWatchMs = 2000;
constexpr std::size_t kReportLogLines = 200;
// A capture stops at 2 MB; the report carries its head and its end.
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
    return win::Utf8(win::ModulePathWide(module).c_str());
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

// At most `length` bytes of `file` from `offset`; empty when unreadable.
std::string ReadAt(HANDLE file, std::uint64_t offset, std::size_t length) {
    LARGE_INTEGER from{};
    from.QuadPart = static_cast<LONGLONG>(offset);
    std::string text(length, '\0');
    DWORD read = 0;
    if (length == 0 || !SetFilePointerEx(file, from, nullptr, FILE_BEGIN) ||
        !ReadFile(file, text.data(), static_cast<DWORD>(length), &read, nullptr))
        return {};
    text.resize(read);
    return text;
}

// A file of at most `limit` bytes whole; a longer one as its head (a quarter
// of the limit: for a capture, the collections, candidates and opens) and its
// end, each cut at whole lines, with a line saying what was left out
// between them. `cut` when there was more.
std::string FileHeadAndTail(const std::string& path, std::size_t limit, bool& cut) {
    cut = false;
    win::ScopedFileHandle file(CreateFileW(win::Wide(path).c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size))
        return {};
    const auto length = static_cast<std::uint64_t>(size.QuadPart);
    if (length <= limit)
        return ReadAt(file.Get(), 0, static_cast<std::size_t>(length));
    cut = true;
    std::string head = ReadAt(file.Get(), 0, limit / 4);
    head.resize(head.rfind('\n') == std::string::npos ? 0 : head.rfind('\n') + 1);
    const std::size_t tailBytes = limit - limit / 4;
    std::string tail = ReadAt(file.Get(), length - tailBytes, tailBytes);
    tail.erase(0, tail.find('\n') == std::string::npos ? tail.size() : tail.find('\n') + 1);
    const std::uint64_t leftOut = length - head.size() - tail.size();
    return head + "... " + std::to_string(leftOut) + " bytes of the capture left out ...\r\n" +
           tail;
}

bool WriteWholeFile(HANDLE file, const std::string& text) {
    DWORD written = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
               FALSE &&
           written == text.size();
}

void CrashDumpFacts(device::DiagnosticsFacts& facts) {
    win::CrashDumpFile dump;
    if (!win::LatestCrashDump(win::LogsFolderW(), dump))
        return;
    facts.crashDumpName = dump.name;
    facts.crashDumpBytes = dump.size;
    FILETIME local{};
    SYSTEMTIME at{};
    if (FileTimeToLocalFileTime(&dump.written, &local) && FileTimeToSystemTime(&local, &at)) {
        char text[32];
        std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", at.wYear, at.wMonth,
                      at.wDay, at.wHour, at.wMinute, at.wSecond);
        facts.crashDumpWritten = text;
    }
}

// What every report holds, whoever writes it; `link` as the writer has it.
void CommonFacts(device::DiagnosticsFacts& facts, const std::string& programFolder,
                 device::DeviceLink& link) {
    facts.programVersion = FileVersion(ModulePath(nullptr));
    if (link.IsBound()) {
        const std::string version = FileVersion(programFolder + device::kLibraryName);
        facts.libraryVersion = version.empty() ? "loaded (no version information)" : version;
    }
    facts.windowsVersion = WindowsVersion();
    facts.displayScalePercent = DisplayScalePercent();
    facts.diagnosticsAvailable = link.CanCapture();
    facts.capturePath = link.CapturePath();
    if (!facts.capturePath.empty())
        facts.captureText =
            FileHeadAndTail(facts.capturePath, kReportCaptureBytes, facts.captureCut);
    CrashDumpFacts(facts);
}

}  // namespace

bool WriteReportFile(const std::wstring& path, const std::string& text) {
    win::ScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteWholeFile(file.Get(), text);
}

std::string BuildReportWithoutMonitor(ReportWriter writer) {
    const std::string folder = win::ProgramFolder();
    device::DiagnosticsFacts facts;
    device::DeviceLink link;
    link.Bind(folder);
    if (writer == ReportWriter::NoMonitorRunning) {
        facts.monitorState = "not running (report written by Monitor.exe /report)";
        // The mouse is looked at as Monitor's start-up would, then let go.
        // The library sends its notices to a window no one reads.
        HWND listener = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr);
        facts.mousePresent = link.OpenAtStartup(listener);
        facts.deviceReport = link.DeviceReport();
        CommonFacts(facts, folder, link);
        link.Shutdown();
        if (listener != nullptr)
            DestroyWindow(listener);
    } else {
        facts.monitorState =
            "running, but it did not answer (report written by Monitor.exe /report)";
        // The running Monitor holds the mouse: it is not opened a second time.
        facts.mouseStateKnown = false;
        CommonFacts(facts, folder, link);
    }
    MonitorLog log(folder);
    facts.logLines = log.LastLines(kReportLogLines);
    auto block = std::make_unique<settings::SettingsBlock>();
    settings::SystemSettingsFiles files(folder);
    if (!settings::LoadAll(files, nullptr, *block, settings::DefaultsFor::Monitor))
        settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
    return device::BuildDiagnosticsReport(facts, device::PrivateNames(*block));
}

std::string Diagnostics::Text(unsigned id) const {
    return ports_.strings.Text(id);
}

void Diagnostics::Notice(unsigned textId, bool warning) {
    const std::string caption = Text(lan::kDiagnosticsCaption);
    const std::string text = Text(textId);
    if (ports_.tray.ShowBalloon(caption, text, warning))
        return;
    MessageBoxW(ports_.window, win::Wide(text).c_str(), win::Wide(caption).c_str(),
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
    const std::wstring select = win::Wide("/select,\"" + path + "\"");
    ShellExecuteW(nullptr, L"open", L"explorer.exe", select.c_str(), nullptr, SW_SHOWNORMAL);
    Notice(lan::kDiagnosticsRecorded, false);
}

void Diagnostics::Stop() {
    stopped_ = true;
    watching_ = false;
    KillTimer(ports_.window, kTimerCaptureWatch);
}

std::string Diagnostics::BuildReport() {
    device::DiagnosticsFacts facts;
    facts.monitorState = "running (report written by it)";
    CommonFacts(facts, ports_.programFolder, ports_.link);
    facts.mousePresent = ports_.connected();
    facts.deviceReport = ports_.link.DeviceReport();
    facts.logLines = ports_.log.LastLines(kReportLogLines);
    return device::BuildDiagnosticsReport(facts, device::PrivateNames(ports_.block.Get()));
}

LRESULT Diagnostics::AnswerReportRequest(const COPYDATASTRUCT& request) {
    // Another process's memory: a UTF-16 path ending in its NUL, no more.
    const std::size_t units = request.cbData / sizeof(wchar_t);
    const auto* text = static_cast<const wchar_t*>(request.lpData);
    if (stopped_ || text == nullptr || request.cbData % sizeof(wchar_t) != 0 || units < 2 ||
        text[units - 1] != L'\0')
        return kReportNotWritten;
    const std::wstring path(text, units - 1);
    if (path.find(L'\0') != std::wstring::npos)
        return kReportNotWritten;
    if (!WriteReportFile(path, BuildReport())) {
        ports_.log.Line("error: the diagnostics report asked for could not be written (error %lu)",
                        static_cast<unsigned long>(GetLastError()));
        return kReportNotWritten;
    }
    ports_.log.Line("diagnostics report written on request");
    return kReportWritten;
}

// Wide throughout: the desktop, the title and the chosen name may hold
// any script.
bool Diagnostics::ChooseReportFile(std::string& path) {
    wchar_t desktop[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t file[MAX_PATH] = {};
    std::swprintf(file, MAX_PATH, L"Mouse diagnostics %04u-%02u-%02u %02u%02u.txt", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute);
    // "Text files\0*.txt\0\0"
    std::wstring filter = win::Wide(Text(lan::kTextFiles));
    filter += std::wstring(L"\0*.txt\0\0", 8);
    // The menu item's text, without its access key.
    std::string title = Text(lan::kSaveDiagnosticsReport);
    std::erase(title, '&');
    const std::wstring wideTitle = win::Wide(title);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ports_.window;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = desktop[0] != L'\0' ? desktop : nullptr;
    dialog.lpstrTitle = wideTitle.c_str();
    dialog.lpstrDefExt = L"txt";
    dialog.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    // The hidden window cannot take the foreground for its dialog.
    SetForegroundWindow(ports_.window);
    if (!GetSaveFileNameW(&dialog))
        return false;
    path = win::Utf8(file);
    return true;
}

void Diagnostics::OnForgetChannels() {
    if (stopped_)
        return;
    const bool forgotten = ports_.link.ForgetChannels();
    ports_.log.Line(forgotten ? "remembered channel forgotten"
                              : "error: the remembered channel could not be forgotten");
    Notice(forgotten ? lan::kChannelsForgotten : lan::kChannelsNotForgotten, !forgotten);
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
    win::ScopedFileHandle file(CreateFileW(win::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file && WriteWholeFile(file.Get(), report)) {
        ports_.log.Line("diagnostics report saved");
        return;
    }
    const DWORD error = GetLastError();
    ports_.log.Line("error: the diagnostics report could not be written (error %lu)",
                    static_cast<unsigned long>(error));
    const std::string text = Text(lan::kReportNotSaved) + "\n" + path;
    MessageBoxW(ports_.window, win::Wide(text).c_str(),
                win::Wide(Text(lan::kDiagnosticsCaption)).c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

}  // namespace monitor
