#include "monitor/runtime/win/media_players_win.h"

#include <shellapi.h>

#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"

namespace runtime {

namespace {

HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::CurrentConfig:
            return HKEY_CURRENT_CONFIG;
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegistryRoot::LocalMachine:
        default:
            return HKEY_LOCAL_MACHINE;
    }
}

constexpr DWORD kMaxPath = 260;

}  // namespace

std::optional<std::string> MediaHostWin::ReadRegistryString(const RegistryPath& path,
                                                            const char* valueName) {
    win::ScopedRegKey key;
    // Read access only: a standard user cannot open these keys for writing,
    // and a missing key means the player is not installed.
    if (RegOpenKeyExA(RootKey(path.root), path.subkey.c_str(), 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS) {
        key.Release();  // a failed open hands back nothing to close
        return std::nullopt;
    }
    char buffer[kMaxPath + 1] = {};
    DWORD size = kMaxPath;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key.Get(), valueName, nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    key.Reset();
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    buffer[size < kMaxPath ? size : kMaxPath] = '\0';
    return std::string(buffer);
}

std::string MediaHostWin::ExpandEnvironment(const std::string& text) {
    char buffer[kMaxPath + 1] = {};
    const DWORD n = ExpandEnvironmentStringsA(text.c_str(), buffer, kMaxPath);
    if (n == 0 || n > kMaxPath)
        return text;
    return std::string(buffer);
}

std::uintptr_t MediaHostWin::FindTopWindow(const char* className, const char* title) {
    return reinterpret_cast<std::uintptr_t>(FindWindowA(className, title));
}

void MediaHostWin::BringToForeground(std::uintptr_t window) {
    const HWND target = reinterpret_cast<HWND>(window);
    const HWND foreground = GetForegroundWindow();
    const DWORD foregroundThread =
        foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const DWORD ownThread = GetCurrentThreadId();
    const bool attach = foregroundThread != 0 && foregroundThread != ownThread;
    if (attach)
        AttachThreadInput(foregroundThread, ownThread, TRUE);
    SetForegroundWindow(target);
    if (attach)
        AttachThreadInput(foregroundThread, ownThread, FALSE);
}

void MediaHostWin::Run(const std::string& path) {
    ShellExecuteW(nullptr, L"open", win::Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MediaHostWin::PostAppCommand(int command) {
    PostMessageA(window_, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window_),
                 static_cast<LPARAM>(command) << 16);
}

bool MediaHostWin::SendMessageTo(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    // A player that stopped answering must not freeze Monitor's window thread
    // (and with it every device event and Apply).
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(reinterpret_cast<HWND>(window), message, wParam, lParam,
                               SMTO_ABORTIFHUNG, kPlayerAnswerTimeoutMs, &result) != 0;
}

void MediaHostWin::PostMessageTo(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    PostMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

}  // namespace runtime
