#include "tests/win/option/dialogs/dialog_driver_win.h"

#include <cstdlib>
#include <vector>

#include "tests/e2e/harness/wait_until_win.h"
#include "tests/support/artifacts_folder_win.h"
#include "tools/SkinGallery/gallery_window_win.h"

namespace dialogtest {
namespace {

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        RECT r{};
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_APPWORKSPACE));
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreateOwner() {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &OwnerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DialogTestOwner";
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        return RegisterClassA(&wc);
    }();
    if (atom == 0)
        return nullptr;
    HWND owner =
        CreateWindowExA(0, "DialogTestOwner", "Dialog test owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        140, 90, 900, 640, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return owner;
}

struct Search {
    DWORD thread;
    const char* title;
    HWND except;
    HWND found;
};

BOOL CALLBACK Match(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    if (hwnd != s->except && IsWindowVisible(hwnd) &&
        GetWindowThreadProcessId(hwnd, nullptr) == s->thread && TextOf(hwnd) == s->title) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD vk, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = flags;
    return in;
}

}  // namespace

DialogRun::~DialogRun() {
    if (thread_.joinable()) {
        // A test that failed half-way leaves its dialog open: end it.
        if (HWND owner = owner_.load()) {
            const DWORD thread = GetWindowThreadProcessId(owner, nullptr);
            PostThreadMessageA(thread, WM_QUIT, 0, 0);
        }
        thread_.join();
    }
}

void DialogRun::Start(std::function<bool(HWND owner)> run) {
    thread_ = std::thread([this, run = std::move(run)] {
        HWND owner = CreateOwner();
        owner_.store(owner);
        result_.store(run(owner));
        DestroyWindow(owner);
        finished_.store(true);
    });
    e2e::WaitUntil([this] { return owner_.load() != nullptr; });
}

HWND DialogRun::Show(std::function<bool(HWND owner)> run, const char* title) {
    Start(std::move(run));
    return WaitForDialog(title);
}

HWND DialogRun::WaitForDialog(const char* title) {
    HWND owner = owner_.load();
    if (owner == nullptr)
        return nullptr;
    const DWORD thread = GetWindowThreadProcessId(owner, nullptr);
    HWND found = nullptr;
    e2e::WaitUntil([&] {
        found = FindThreadWindow(thread, title, owner);
        return found != nullptr;
    });
    return found;
}

bool DialogRun::WaitFinished() {
    if (!e2e::WaitUntil([this] { return finished_.load(); }))
        return false;
    thread_.join();
    return true;
}

HWND FindThreadWindow(DWORD thread, const char* title, HWND except) {
    Search s{thread, title, except, nullptr};
    EnumWindows(&Match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool ReadyForInput(HWND window) {
    return IsWindowVisible(window) && IsWindowEnabled(window) && GetForegroundWindow() == window;
}

namespace {

void MoveTo(POINT screenPoint) {
    SetCursorPos(screenPoint.x, screenPoint.y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = (screenPoint.x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = (screenPoint.y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send({move});
}

void PressAndRelease() {
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    INPUT up = down;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    Send({down, up});
}

bool IsButton(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, "Button") == 0;
}

GUITHREADINFO ThreadInfoOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return GUITHREADINFO{};
    return info;
}

HWND CaptureOfThreadOf(HWND window) {
    return ThreadInfoOf(window).hwndCapture;
}

}  // namespace

HWND FocusOfThreadOf(HWND window) {
    return ThreadInfoOf(window).hwndFocus;
}

void Click(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MoveTo(centre);
    // A user's press comes well after the moves that brought the pointer
    // over a button, which by then has taken the mouse for its hover. Sent
    // in one batch, under Wine the press now and then raced that hover and
    // was lost, so the press waits until the button has seen the move. A
    // move the button never saw (a busy start of Wine) is followed by a
    // second small one, as a user's hand would make.
    if (IsButton(control)) {
        const auto hovered = [&] { return CaptureOfThreadOf(control) == control; };
        for (int nudge = 1; nudge <= 3 && !e2e::WaitUntil(hovered, std::chrono::seconds(2));
             ++nudge) {
            MoveTo({centre.x + (nudge % 2 == 0 ? -1 : 1), centre.y});
        }
    }
    PressAndRelease();
}

void PressDirectly(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(control, WM_LBUTTONUP, 0, at);
}

void ClickAt(POINT screenPoint) {
    MoveTo(screenPoint);
    PressAndRelease();
}

void KeyDown(WORD virtualKey) {
    Send({KeyInput(virtualKey, 0)});
}

void KeyUp(WORD virtualKey) {
    Send({KeyInput(virtualKey, KEYEVENTF_KEYUP)});
}

void Tap(WORD virtualKey) {
    Send({KeyInput(virtualKey, 0), KeyInput(virtualKey, KEYEVENTF_KEYUP)});
}

void Type(const std::string& text) {
    std::vector<INPUT> inputs;
    for (char c : text) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = static_cast<unsigned char>(c);
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(in);
        in.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    Send(std::move(inputs));
}

std::string TextOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

HWND Item(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}

bool CentredOn(HWND window, HWND over) {
    RECT a{}, b{};
    GetWindowRect(window, &a);
    GetWindowRect(over, &b);
    return std::abs((a.left + a.right) - (b.left + b.right)) <= 2 &&
           std::abs((a.top + a.bottom) - (b.top + b.bottom)) <= 2;
}

void Screenshot(HWND window, const std::string& name) {
    const std::string folder = testsupport::ArtifactsFolder("dialogs");
    if (folder.empty())
        return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    gallery::SaveWindowShot(window, folder + name + ".bmp");
}

}  // namespace dialogtest
