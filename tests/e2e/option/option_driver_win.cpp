#include "tests/e2e/option/option_driver_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "common/text_format.h"
#include "common/trace_points.h"
#include "tests/support/artifacts_folder_win.h"
#include "tests/support/shared_block_win.h"
#include "tools/SkinGallery/gallery_window_win.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

constexpr const char* kOptionTitle = "Professional Gaming Optical Mouse Option";

BOOL CALLBACK DescribeChild(HWND hwnd, LPARAM param) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    *reinterpret_cast<std::string*>(param) +=
        std::string(cls) + "#" + std::to_string(GetDlgCtrlID(hwnd)) + " ";
    return TRUE;
}

// The file name box of the system's file dialogs.
constexpr int kFileNameBox = 1148;

struct NameFields {
    const std::string* path;
    int set;
};

// The file name box (id 1148) is a combo box with an edit inside; which of
// them the dialog reads differs between versions, so all of them get the name.
BOOL CALLBACK SetFileName(HWND child, LPARAM param) {
    auto* fields = reinterpret_cast<NameFields*>(param);
    if (GetDlgCtrlID(child) == kFileNameBox &&
        SendMessageA(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fields->path->c_str())))
        ++fields->set;
    return TRUE;
}

std::string DescribeChildren(HWND dialog) {
    std::string text;
    EnumChildWindows(dialog, &DescribeChild, reinterpret_cast<LPARAM>(&text));
    return text;
}

}  // namespace

OptionDriver::~OptionDriver() {
    if (HWND w = Window())
        PostMessageA(w, WM_CLOSE, 0, 0);
    if (process_.WaitExit(10s) == -1)
        process_.Kill();
}

bool OptionDriver::Start() {
    if (!process_.Start(folder_.File("Option.exe")))
        return false;
    return WaitUntil([this] { return Window() != nullptr; }, 30s);
}

HWND OptionDriver::Window() const {
    return FindWindowA(nullptr, kOptionTitle);
}

void OptionDriver::Click(int key) const {
    HWND w = Window();
    HWND control = GetDlgItem(w, 1000 + key);
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(1000 + key, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

bool OptionDriver::Enabled(int key) const {
    HWND control = GetDlgItem(Window(), 1000 + key);
    return control != nullptr && IsWindowEnabled(control);
}

bool OptionDriver::PageVisible(int page) const {
    HWND p = GetDlgItem(Window(), 2000 + page);
    return p != nullptr && IsWindowVisible(p);
}

void OptionDriver::Key(UINT virtualKey) const {
    HWND w = Window();
    PostMessageA(w, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(w, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

std::unique_ptr<settings::SettingsBlock> OptionDriver::AppliedBlock(int count) const {
    using namespace std::chrono_literals;
    if (!process_.WaitForDebugText(text::Format(trace::kOptionApply, 0, 1, 1), count) ||
        !WaitUntil([&] { return ApplyReady(); }, 60s))
        return nullptr;
    auto block = std::make_unique<settings::SettingsBlock>();
    return testsupport::ReadSharedBlock(*block) ? std::move(block) : nullptr;
}

void OptionDriver::Type(WORD virtualKey, bool ctrl, bool shift) const {
    // Only when another program is in front: bringing Option forward again
    // would close a menu it shows.
    DWORD front = 0, own = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &front);
    GetWindowThreadProcessId(Window(), &own);
    if (front != own)
        SetForegroundWindow(Window());
    std::vector<INPUT> input;
    auto key = [&input](WORD vk, DWORD flags) {
        INPUT one{};
        one.type = INPUT_KEYBOARD;
        one.ki.wVk = vk;
        one.ki.dwFlags = flags;
        input.push_back(one);
    };
    if (ctrl)
        key(VK_CONTROL, 0);
    if (shift)
        key(VK_SHIFT, 0);
    key(virtualKey, 0);
    key(virtualKey, KEYEVENTF_KEYUP);
    if (shift)
        key(VK_SHIFT, KEYEVENTF_KEYUP);
    if (ctrl)
        key(VK_CONTROL, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

HWND OptionDriver::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(Window(), nullptr);
    if (thread == 0 || !GetGUIThreadInfo(thread, &info))
        return nullptr;
    return info.hwndFocus;
}

HWND OptionDriver::WaitForDialog(int control) const {
    DWORD pid = 0;
    GetWindowThreadProcessId(Window(), &pid);
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindProcessDialog(pid, Window(), control);
            return found != nullptr;
        },
        30s);
    return found;
}

bool OptionDriver::ChooseFile(const std::string& path, bool promptFollows) const {
    // The file dialog, not a skinned dialog of Option that opened it.
    HWND dialog = WaitForDialog(kFileNameBox);
    if (dialog == nullptr)
        return false;
    NameFields fields{&path, 0};
    EnumChildWindows(dialog, &SetFileName, reinterpret_cast<LPARAM>(&fields));
    const bool named = fields.set > 0;
    if (!named) {
        ADD_FAILURE() << "no file name field in the dialog: " << DescribeChildren(dialog);
        return false;
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    if (promptFollows)
        return true;
    if (!WaitUntil([dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 30s)) {
        ADD_FAILURE() << "the dialog stays: " << DescribeChildren(dialog);
        const std::string folder = ArtifactsFolder();
        if (!folder.empty())
            gallery::SaveWindowShot(GetDesktopWindow(), folder + "file_dialog.bmp");
        return false;
    }
    return true;
}

bool OptionDriver::Answer(int id) const {
    HWND dialog = WaitForDialog(id);
    if (dialog == nullptr)
        return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return WaitUntil([dialog] { return !IsWindow(dialog); }, 30s);
}

bool OptionDriver::Screenshot(const std::string& name, HWND window) const {
    const std::string folder = ArtifactsFolder();
    if (folder.empty())
        return true;
    HWND w = window != nullptr ? window : Window();
    SetForegroundWindow(w);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return gallery::SaveWindowShot(w, folder + name + ".bmp");
}

bool OptionDriver::WaitGone() const {
    return WaitUntil([this] { return Window() == nullptr; }, 30s);
}

namespace {

BOOL CALLBACK CountUnpainted(HWND child, LPARAM count) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE))
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

}  // namespace

bool Painted(HWND window) {
    if (window == nullptr || !IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE))
        return false;
    int unpainted = 0;
    EnumChildWindows(window, &CountUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return unpainted == 0 &&
           SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr) != 0;
}

std::string ArtifactsFolder() {
    return testsupport::ArtifactsFolder("option");
}

}  // namespace e2e
