// Test harness: the program folder, a VirtualMouse.exe process, korrin.dll
// loaded by hand, and a window that records the library's messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/harness/wait_until_win.h"
#include "tests/support/program_folder_win.h"
#include "common/text_lines.h"

namespace vmtest {

using testsupport::DistFolder;
std::string TempFile(const char* name);
// Folder of this test program, with a trailing backslash: the program folder
// of a library it loads.
std::string ExeFolder();
std::string ReadFile(const std::string& path);
using text::SplitLines;

// Runs VirtualMouse.exe with `args` and waits for it; its exit code, or -1.
int RunVirtualMouse(const std::string& args, DWORD timeoutMs = 30000);
// Starts the first instance (not waited for); true once its window exists.
bool StartVirtualMouse(const std::string& args, PROCESS_INFORMATION& pi);
// Asks a running instance to quit and waits for the process.
void StopVirtualMouse(PROCESS_INFORMATION& pi);

struct Received {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A message-only window that records messages 1325 and 1326.
class MessageSink {
  public:
    MessageSink();
    ~MessageSink();
    HWND Hwnd() const { return hwnd_; }
    std::vector<Received> received;

  private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
};

struct Korrin {
    HMODULE module = nullptr;
    int(__stdcall* Set_VIDPID)(int, int) = nullptr;
    int(__stdcall* Open_DevMonitor)(HWND, UINT, UINT) = nullptr;
    int(__stdcall* Close_DevMonitor)() = nullptr;
    int(__stdcall* Open_FeatureDevice)() = nullptr;
    int(__stdcall* Close_FeatureDevice)() = nullptr;
    int(__stdcall* Open_ReportDevice)() = nullptr;
    int(__stdcall* Close_ReportDevice)() = nullptr;
    int(__stdcall* SetFeature)(unsigned char*, int) = nullptr;
    int(__stdcall* WriteUSB)(unsigned char*, int) = nullptr;
    int(__stdcall* GetFeature)(unsigned char*, int) = nullptr;
    int(__stdcall* ReadUSB)(unsigned char*, int) = nullptr;
    int(__stdcall* Start_Capture)() = nullptr;
    int(__stdcall* Get_CapturePath)(char*, int) = nullptr;
    int(__stdcall* Get_CaptureState)() = nullptr;
    int(__stdcall* Get_DeviceReport)(char*, int) = nullptr;
    // Loads from the program folder; false when any export is missing.
    bool Load();
    void Unload();
};

}  // namespace vmtest
