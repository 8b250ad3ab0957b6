#include "tests/e2e/harness/harness_win.h"

#include "common/protocol.h"
#include "tests/support/file_bytes.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace e2e {

namespace {

std::atomic<int> g_folderCounter{0};

// `from` may end with its separator, as the program folder's path does.
bool CopyTree(std::string from, const std::string& to) {
    if (!from.empty() && from.back() == '\\')
        from.pop_back();
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((from + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string source = from + "\\" + name;
        const std::string target = to + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = CopyTree(source, target) && ok;
        } else {
            ok = CopyFileA(source.c_str(), target.c_str(), FALSE) != FALSE && ok;
        }
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return ok;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string EnvOr(const char* name, const char* fallback) {
    char value[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return fallback;
    return std::string(value, length);
}

ProgramFolder::ProgramFolder(const std::string& folderName) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%smouse-e2e-%lu-%d", temp, GetCurrentProcessId(),
                  g_folderCounter.fetch_add(1));
    RemoveTree(name);
    // Without the program folder to copy (MOUSE_DIST is set by CTest), an
    // empty path would name the drive's root and copy the whole disk.
    const std::string dist = DistFolder();
    if (dist.empty()) {
        std::fprintf(stderr, "MOUSE_DIST is not set: run the end-to-end tests through ctest\n");
        std::abort();
    }
    root_ = name;
    std::string folder = root_;
    if (!folderName.empty()) {
        CreateDirectoryA(root_.c_str(), nullptr);
        folder += "\\" + folderName;
    }
    CopyTree(dist, folder);
    path_ = folder + "\\";
}

ProgramFolder::~ProgramFolder() {
    RemoveTree(root_);
}

bool ProgramFolder::Exists(const std::string& relative) const {
    return GetFileAttributesA(File(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ProgramFolder::Remove(const std::string& relative) const {
    return DeleteFileA(File(relative).c_str()) != FALSE;
}

bool ProgramFolder::AddTestProgram(const std::string& name, const std::string& as) const {
    return CopyFileA((TestBinFolder() + name).c_str(), File(as).c_str(), FALSE) != FALSE;
}

std::string ProgramFolder::ReadIni(const std::string& file, const char* section, const char* key,
                                   const char* fallback) const {
    char value[4096];
    GetPrivateProfileStringA(section, key, fallback, value, sizeof value, File(file).c_str());
    return value;
}

std::string ProgramFolder::ReadText(const std::string& relative) const {
    return testsupport::FileBytes(File(relative));
}

Program::~Program() {
    Kill();
    if (loop_.joinable())
        loop_.join();
}

bool Program::Start(const std::string& exe, const std::string& arguments) {
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    loop_ = std::thread(&Program::DebugLoop, this, commandLine, folder, started);
    WaitForSingleObject(started, INFINITE);
    CloseHandle(started);
    return startOk_;
}

// A debugger sees the program's OutputDebugString texts; the program itself
// runs unchanged.
void Program::DebugLoop(std::string commandLine, std::string folder, HANDLE started) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    startOk_ =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS,
                       nullptr, folder.c_str(), &startup, &info) != FALSE;
    if (!startOk_) {
        SetEvent(started);
        return;
    }
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    CloseHandle(info.hThread);
    SetEvent(started);

    DEBUG_EVENT event;
    while (WaitForDebugEvent(&event, INFINITE)) {
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile)
                    CloseHandle(event.u.CreateProcessInfo.hFile);
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile)
                    CloseHandle(event.u.LoadDll.hFile);
                break;
            case OUTPUT_DEBUG_STRING_EVENT: {
                const auto& text = event.u.DebugString;
                if (!text.fUnicode && text.nDebugStringLength > 0) {
                    std::string value(text.nDebugStringLength, '\0');
                    SIZE_T read = 0;
                    ReadProcessMemory(process_, text.lpDebugStringData, value.data(), value.size(),
                                      &read);
                    value.resize(read);
                    while (!value.empty() && value.back() == '\0') value.pop_back();
                    std::lock_guard<std::mutex> lock(mutex_);
                    texts_.push_back(value);
                }
                break;
            }
            case EXCEPTION_DEBUG_EVENT:
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    status = DBG_EXCEPTION_NOT_HANDLED;
                }
                break;
            default:
                break;
        }
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            std::lock_guard<std::mutex> lock(mutex_);
            exitCode_ = static_cast<long>(event.u.ExitProcess.dwExitCode);
            exited_ = true;
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
}

long Program::WaitExit(std::chrono::milliseconds timeout) {
    if (!WaitUntil([this] { return Exited(); }, timeout))
        return -1;
    std::lock_guard<std::mutex> lock(mutex_);
    return exitCode_;
}

bool Program::Exited() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return exited_;
}

void Program::Kill() {
    if (process_ != nullptr && !Exited()) {
        TerminateProcess(process_, 99);
        WaitUntil([this] { return Exited(); }, std::chrono::seconds(10));
    }
    if (loop_.joinable() && Exited())
        loop_.join();
    if (process_ != nullptr)
        CloseHandle(process_);
    process_ = nullptr;
}

std::vector<std::string> Program::DebugTexts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

int Program::CountDebugText(const std::string& text) const {
    std::lock_guard<std::mutex> lock(mutex_);
    int count = 0;
    for (const auto& t : texts_) count += t == text ? 1 : 0;
    return count;
}

bool Program::WaitForDebugText(const std::string& text, int count,
                               std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return CountDebugText(text) >= count; }, timeout);
}

StandInWindow::StandInWindow(const std::string& title, bool minimized) {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread(&StandInWindow::Run, this, title, minimized, ready);
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
}

StandInWindow::~StandInWindow() {
    if (hwnd_ != nullptr)
        PostMessageA(hwnd_, WM_APP + 0x3FFF, 0, 0);
    if (thread_.joinable())
        thread_.join();
}

void StandInWindow::Run(std::string title, bool minimized, HANDLE ready) {
    static const char* kClass = "E2EStandInWindow";
    WNDCLASSA wc{};
    wc.lpfnWndProc = &StandInWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);  // a second registration fails harmlessly
    threadId_ = GetCurrentThreadId();
    hwnd_ = CreateWindowExA(0, kClass, title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 300, 200,
                            nullptr, nullptr, wc.hInstance, this);
    // Hidden unless a test needs a minimised window: other programs find
    // windows by title whether they are shown or not.
    if (minimized)
        ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
    SetEvent(ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_APP + 0x3FFF) {
            DestroyWindow(hwnd_);
            hwnd_ = nullptr;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

LRESULT CALLBACK StandInWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowOwner<StandInWindow>(hwnd, msg, lParam);
    const bool recorded =
        (msg >= WM_USER && msg < WM_APP + 0x3FFF) || msg == WM_CLOSE || msg == WM_COMMAND;
    if (self != nullptr && recorded) {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->received_.push_back({msg, wParam, lParam});
    }
    if (msg == WM_CLOSE)
        return 0;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int StandInWindow::Count(UINT message) const {
    std::lock_guard<std::mutex> lock(mutex_);
    int count = 0;
    for (const auto& r : received_) count += r.message == message ? 1 : 0;
    return count;
}

std::vector<Received> StandInWindow::All() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

bool StandInWindow::WaitFor(UINT message, int count, std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return Count(message) >= count; }, timeout);
}

namespace {

struct TitleSearch {
    const char* title;
    int count;
};

BOOL CALLBACK CountIfTitled(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<TitleSearch*>(param);
    char text[256];
    if (GetWindowTextA(hwnd, text, sizeof text) > 0 && std::string(text) == search->title) {
        ++search->count;
    }
    return TRUE;
}

}  // namespace

int CountWindowsTitled(const char* title) {
    TitleSearch search{title, 0};
    EnumWindows(&CountIfTitled, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

void EndMonitor(Program& monitor, std::chrono::milliseconds timeout) {
    if (HWND window = FindWindowA(nullptr, protocol::kMonitorTitle))
        PostMessageA(window, WM_COMMAND, protocol::kCmdExit, 0);
    monitor.WaitExit(timeout);
    monitor.Kill();
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == search->processId && IsWindowVisible(hwnd) && std::string(cls) == search->className)
        search->found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId, const char* className) {
    WindowSearch search{processId, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindProcessDialog(DWORD processId, HWND except, int control) {
    for (HWND dialog : VisibleWindowsOf(processId, "#32770")) {
        if (dialog != except && (control == 0 || GetDlgItem(dialog, control) != nullptr))
            return dialog;
    }
    return nullptr;
}

namespace {
constexpr const char* kDesktopKey = "Control Panel\\Desktop";

void WriteSystemDpi(DWORD dpi) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
}
}  // namespace

SystemDpiSetting::SystemDpiSetting(DWORD dpi) {
    DWORD size = sizeof old_;
    had_ = RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", RRF_RT_REG_DWORD, nullptr,
                        &old_, &size) == ERROR_SUCCESS;
    WriteSystemDpi(dpi);
}

SystemDpiSetting::~SystemDpiSetting() {
    if (had_) {
        WriteSystemDpi(old_);
    } else {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels");
    }
}

}  // namespace e2e
