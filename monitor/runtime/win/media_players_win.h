// Win32 side of the media players: registry reads (read access only, never
// creating keys), window lookups, program start and messages.
#pragma once

#include <windows.h>

#include "monitor/runtime/media_players.h"

namespace runtime {

// How long a player may take to answer one sent message before Monitor goes
// on without it.
inline constexpr unsigned kPlayerAnswerTimeoutMs = 500;

class MediaHostWin final : public MediaHost {
  public:
    // window: Monitor's own window (app commands, foreground switching).
    explicit MediaHostWin(HWND window) : window_(window) {}
    void SetWindow(HWND window) { window_ = window; }

    std::optional<std::string> ReadRegistryString(const RegistryPath& path,
                                                  const char* valueName) override;
    std::string ExpandEnvironment(const std::string& text) override;
    std::uintptr_t FindTopWindow(const char* className, const char* title) override;
    void BringToForeground(std::uintptr_t window) override;
    void Run(const std::string& path) override;
    void PostAppCommand(int command) override;
    bool SendMessageTo(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                       std::intptr_t lParam) override;
    void PostMessageTo(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                       std::intptr_t lParam) override;

  private:
    HWND window_;
};

}  // namespace runtime
