#include "common/settings/mouse_registry_win.h"

#include <utility>

#include "common/win/scoped_win.h"

namespace settings {

static_assert(spi::kSetMouse == SPI_SETMOUSE);
static_assert(spi::kSetMouseButtonSwap == SPI_SETMOUSEBUTTONSWAP);
static_assert(spi::kSetMouseTrails == SPI_SETMOUSETRAILS);
static_assert(spi::kSetWheelScrollLines == SPI_SETWHEELSCROLLLINES);
static_assert(spi::kSetMouseSpeed == SPI_SETMOUSESPEED);

namespace {

class Win32RegistryKey final : public RegistryKey {
  public:
    explicit Win32RegistryKey(win::ScopedRegKey key) : key_(std::move(key)) {}

    bool ReadText(const char* name, std::string& text) override {
        char buffer[kRegistryTextBuffer] = {};
        DWORD size = sizeof buffer;
        DWORD type = 0;
        if (RegQueryValueExA(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                             &size) != ERROR_SUCCESS) {
            return false;
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return false;
        // The stored text need not end in a NUL; never read past what came back.
        std::size_t n = 0;
        while (n < size && n < sizeof buffer && buffer[n] != '\0') ++n;
        text.assign(buffer, n);
        return true;
    }
    bool WriteText(const char* name, const std::string& text) override {
        return RegSetValueExA(key_.Get(), name, 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }

  private:
    win::ScopedRegKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> SystemMouseRegistry::Open(MouseRegistryKey which, bool create) {
    const char* path =
        which == MouseRegistryKey::Mouse ? "Control Panel\\Mouse" : "Control Panel\\Desktop";
    win::ScopedRegKey key;
    LONG result;
    if (create) {
        result = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    } else {
        result = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, key.Receive());
    }
    if (result != ERROR_SUCCESS) {
        key.Release();  // a failed open hands back nothing to close
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(std::move(key));
}

void Win32SystemMouse::SetDoubleClickTime(int milliseconds) {
    ::SetDoubleClickTime(static_cast<UINT>(milliseconds));
}

void Win32SystemMouse::SwapMouseButton(bool swap) {
    ::SwapMouseButton(swap ? TRUE : FALSE);
}

void Win32SystemMouse::SetMouse(int threshold1, int threshold2, int speed) {
    int values[3] = {threshold1, threshold2, speed};
    SystemParametersInfoA(SPI_SETMOUSE, 0, values, SPIF_SENDCHANGE);
}

void Win32SystemMouse::SetMouseSpeed(int speed) {
    SystemParametersInfoA(SPI_SETMOUSESPEED, 0,
                          reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)), SPIF_SENDCHANGE);
}

void Win32SystemMouse::SetWheelScrollLines(int lines) {
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(lines), nullptr,
                          SPIF_SENDCHANGE);
}

void Win32SystemMouse::SetMouseTrails(int trails) {
    SystemParametersInfoA(SPI_SETMOUSETRAILS, static_cast<UINT>(trails), nullptr, SPIF_SENDCHANGE);
}

void Win32SystemMouse::NotifyOwnWindow(unsigned action) {
    if (window_ != nullptr)
        SendMessageA(window_, WM_WININICHANGE, action, 0);
}

void Win32SystemMouse::NotifyAllWindows(unsigned action) {
    PostMessageA(HWND_BROADCAST, WM_WININICHANGE, action, 0);
}

}  // namespace settings
