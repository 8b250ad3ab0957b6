// End-to-end test harness: a fresh program folder per test, our programs
// started as debuggee so that their debug texts can be checked, and windows
// that stand in for the other parties and record what they are sent.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/no_copy.h"
#include "tests/e2e/harness/wait_until_win.h"
#include "tests/support/program_folder_win.h"

namespace e2e {

std::string EnvOr(const char* name, const char* fallback);
// The built program folder and the folder of test helper programs, each with
// its trailing backslash.
using testsupport::DistFolder;
using testsupport::TestBinFolder;

// A copy of the program folder in the temporary folder, removed afterwards.
// With a name (UTF-8), the copy is a folder of that name in a folder of its own.
class ProgramFolder : NoCopy {
  public:
    explicit ProgramFolder(const std::string& name = "");
    ~ProgramFolder();

    const std::string& Path() const { return path_; }  // with trailing backslash
    std::string File(const std::string& relative) const { return path_ + relative; }
    bool Exists(const std::string& relative) const;
    bool Remove(const std::string& relative) const;
    // Copies a program of the test helper folder into the program folder.
    bool AddTestProgram(const std::string& name, const std::string& as) const;
    std::string ReadIni(const std::string& file, const char* section, const char* key,
                        const char* fallback = "<missing>") const;
    std::string ReadText(const std::string& relative) const;

  private:
    std::string root_;  // removed afterwards
    std::string path_;
};

// A process of ours, run under a debug loop that collects its debug texts.
class Program : NoCopy {
  public:
    Program() = default;
    ~Program();

    bool Start(const std::string& exe, const std::string& arguments = "");
    // Waits for the process to end; its exit code, or -1 on time-out.
    long WaitExit(std::chrono::milliseconds timeout = kPatience);
    bool Exited() const;
    void Kill();
    std::vector<std::string> DebugTexts() const;
    int CountDebugText(const std::string& text) const;
    bool WaitForDebugText(const std::string& text, int count = 1,
                          std::chrono::milliseconds timeout = kPatience) const;

  private:
    void DebugLoop(std::string commandLine, std::string folder, HANDLE started);

    std::thread loop_;
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    bool startOk_ = false;
    bool exited_ = false;
    long exitCode_ = -1;
};

// Ends the Monitor a test started: the tray's Exit, and if it has not ended
// within `timeout`, the process is killed.
void EndMonitor(Program& monitor, std::chrono::milliseconds timeout = std::chrono::seconds(15));

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A top-level window with an exact title on its own thread, recording every
// message from WM_USER up, WM_CLOSE and WM_COMMAND. It stays open on WM_CLOSE
// unless asked to close for real.
class StandInWindow : NoCopy {
  public:
    explicit StandInWindow(const std::string& title, bool minimized = false);
    ~StandInWindow();

    HWND Hwnd() const { return hwnd_; }
    int Count(UINT message) const;
    std::vector<Received> All() const;
    bool WaitFor(UINT message, int count = 1, std::chrono::milliseconds timeout = kPatience) const;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Run(std::string title, bool minimized, HANDLE ready);

    std::thread thread_;
    HWND hwnd_ = nullptr;
    DWORD threadId_ = 0;
    mutable std::mutex mutex_;
    std::vector<Received> received_;
};

// Windows whose title is exactly `title`.
int CountWindowsTitled(const char* title);

// The object a window procedure serves: the window's creation parameter,
// kept in its user data from WM_NCCREATE on; nullptr before that.
template <typename Owner>
Owner* WindowOwner(HWND hwnd, UINT msg, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrA(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    return reinterpret_cast<Owner*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// The visible top-level windows of class `className` that process
// `processId` owns, in the system's order (topmost first).
std::vector<HWND> VisibleWindowsOf(DWORD processId, const char* className);

// A visible system dialog box (class "#32770") of process `processId`, not
// `except`, holding a control of id `control` when that is not 0; null when
// none shows.
HWND FindProcessDialog(DWORD processId, HWND except = nullptr, int control = 0);

// The prefix's system DPI (LogPixels) for the programs started while it
// lives; the value it had comes back afterwards.
class SystemDpiSetting : NoCopy {
  public:
    explicit SystemDpiSetting(DWORD dpi);
    ~SystemDpiSetting();

  private:
    DWORD old_ = 96;
    bool had_ = false;
};

}  // namespace e2e
