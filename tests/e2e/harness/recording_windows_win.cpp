#include "tests/e2e/harness/recording_windows_win.h"

namespace e2e {

namespace {

constexpr UINT kCreateRequest = WM_APP + 1;
constexpr UINT kQuitRequest = WM_APP + 2;
constexpr const char* kControlClass = "E2ERecordingControl";

bool Recorded(UINT msg) {
    switch (msg) {
        case WM_COMMAND:
        case WM_APPCOMMAND:
        case WM_HSCROLL:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return true;
        default:
            return msg >= WM_USER && msg < WM_APP;
    }
}

}  // namespace

RecordingWindows::RecordingWindows() {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread(&RecordingWindows::Run, this, ready);
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
}

RecordingWindows::~RecordingWindows() {
    if (control_ != nullptr)
        PostMessageA(control_, kQuitRequest, 0, 0);
    if (thread_.joinable())
        thread_.join();
}

void RecordingWindows::Run(HANDLE ready) {
    WNDCLASSA control{};
    control.lpfnWndProc = &RecordingWindows::ControlProc;
    control.hInstance = GetModuleHandleA(nullptr);
    control.lpszClassName = kControlClass;
    RegisterClassA(&control);  // a second registration fails harmlessly
    control_ = CreateWindowExA(0, kControlClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               control.hInstance, this);
    SetEvent(ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == control_ && msg.message == kQuitRequest)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
        if (IsWindow(*it))
            DestroyWindow(*it);
    DestroyWindow(control_);
    control_ = nullptr;
}

LRESULT CALLBACK RecordingWindows::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowOwner<RecordingWindows>(hwnd, msg, lParam);
    if (msg == kCreateRequest && self != nullptr) {
        return reinterpret_cast<LRESULT>(
            self->CreateHere(*reinterpret_cast<const WindowSpec*>(lParam)));
    }
    (void)wParam;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND RecordingWindows::Create(const WindowSpec& spec) {
    return reinterpret_cast<HWND>(
        SendMessageA(control_, kCreateRequest, 0, reinterpret_cast<LPARAM>(&spec)));
}

HWND RecordingWindows::CreateHere(const WindowSpec& spec) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const bool system = spec.className == "ScrollBar";
    if (!system) {
        WNDCLASSA wc{};
        if (!GetClassInfoA(instance, spec.className.c_str(), &wc)) {
            wc = WNDCLASSA{};
            wc.lpfnWndProc = &RecordingWindows::Proc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            wc.lpszClassName = spec.className.c_str();
            if (!RegisterClassA(&wc))
                return nullptr;
        }
    }
    HMENU id =
        (spec.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)) : nullptr;
    HWND hwnd = CreateWindowExA(spec.exStyle, spec.className.c_str(), spec.title.c_str(),
                                spec.style, spec.x, spec.y, spec.width, spec.height, spec.parent,
                                id, instance, system ? nullptr : this);
    if (hwnd != nullptr)
        created_.push_back(hwnd);
    return hwnd;
}

LRESULT CALLBACK RecordingWindows::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowOwner<RecordingWindows>(hwnd, msg, lParam);
    if (self != nullptr && Recorded(msg)) {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->received_[hwnd].push_back({msg, wParam, lParam});
    }
    // Key and scroll messages are only recorded: the stand-ins do nothing with them.
    if (msg == WM_HSCROLL || msg == WM_KEYDOWN || msg == WM_KEYUP)
        return 0;
    if (msg == WM_CLOSE)
        return 0;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::vector<Received> RecordingWindows::Messages(HWND hwnd) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = received_.find(hwnd);
    return it == received_.end() ? std::vector<Received>() : it->second;
}

int RecordingWindows::Count(HWND hwnd, UINT message) const {
    int count = 0;
    for (const Received& r : Messages(hwnd)) count += r.message == message ? 1 : 0;
    return count;
}

bool RecordingWindows::WaitFor(HWND hwnd, UINT message, int count,
                               std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return Count(hwnd, message) >= count; }, timeout);
}

void RecordingWindows::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.clear();
}

}  // namespace e2e
