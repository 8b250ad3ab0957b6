#include "tests/win/korrin/vm_harness_win.h"

#include <cstdio>

namespace vmtest {

namespace {

constexpr const char* kVirtualMouseClass = "MouseVirtualDeviceWindow";

template <class Fn>
bool Resolve(HMODULE m, const char* name, Fn& out) {
    out = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name)));
    return out != nullptr;
}

bool Launch(const std::string& args, PROCESS_INFORMATION& pi) {
    std::string line(1, '"');
    line.append(DistFolder());
    line.append("VirtualMouse.exe\" ");
    line.append(args);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNOACTIVATE;
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi) != 0;
}

}  // namespace

std::string TempFile(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder;
}

std::string ReadFile(const std::string& path) {
    std::string text;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return text;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
    return text;
}

int RunVirtualMouse(const std::string& args, DWORD timeoutMs) {
    PROCESS_INFORMATION pi{};
    if (!Launch(args, pi))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

bool StartVirtualMouse(const std::string& args, PROCESS_INFORMATION& pi) {
    if (!Launch(args, pi))
        return false;
    return e2e::WaitUntil([] { return FindWindowA(kVirtualMouseClass, nullptr) != nullptr; });
}

void StopVirtualMouse(PROCESS_INFORMATION& pi) {
    if (pi.hProcess == nullptr)
        return;
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) {
        RunVirtualMouse("/quit");
        if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 9);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    pi = PROCESS_INFORMATION{};
}

MessageSink::MessageSink() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &MessageSink::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DeviceTestSink";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessageSink::~MessageSink() {
    if (hwnd_ != nullptr)
        DestroyWindow(hwnd_);
}

LRESULT CALLBACK MessageSink::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MessageSink*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self != nullptr && (msg == 1325 || msg == 1326)) {
        self->received.push_back({msg, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool Korrin::Load() {
    module = LoadLibraryA((DistFolder() + "korrin.dll").c_str());
    if (module == nullptr)
        return false;
    return Resolve(module, "Set_VIDPID", Set_VIDPID) &&
           Resolve(module, "Open_DevMonitor", Open_DevMonitor) &&
           Resolve(module, "Close_DevMonitor", Close_DevMonitor) &&
           Resolve(module, "Open_FeatureDevice", Open_FeatureDevice) &&
           Resolve(module, "Close_FeatureDevice", Close_FeatureDevice) &&
           Resolve(module, "Open_ReportDevice", Open_ReportDevice) &&
           Resolve(module, "Close_ReportDevice", Close_ReportDevice) &&
           Resolve(module, "SetFeature", SetFeature) && Resolve(module, "WriteUSB", WriteUSB) &&
           Resolve(module, "GetFeature", GetFeature) && Resolve(module, "ReadUSB", ReadUSB) &&
           Resolve(module, "Start_Capture", Start_Capture) &&
           Resolve(module, "Get_CapturePath", Get_CapturePath) &&
           Resolve(module, "Get_CaptureState", Get_CaptureState) &&
           Resolve(module, "Get_DeviceReport", Get_DeviceReport);
}

void Korrin::Unload() {
    if (module != nullptr)
        FreeLibrary(module);
    module = nullptr;
}

}  // namespace vmtest
