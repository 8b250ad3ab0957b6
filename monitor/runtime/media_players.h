// Media player control: starting or bringing up the chosen player and sending
// it transport commands, each player in its own way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "monitor/runtime/runtime_ports.h"

namespace runtime {

enum class MediaPlayer : int { WindowsMedia = 0, ITunes = 1, RealPlayer = 2, Winamp = 3 };
enum class MediaCommand : int { Next = 4098, Previous = 4099, PlayPause = 4100, Stop = 4101 };

enum class RegistryRoot { LocalMachine, CurrentUser, CurrentConfig, ClassesRoot };
struct RegistryPath {
    RegistryRoot root = RegistryRoot::LocalMachine;
    std::string subkey;
};

// "HKEY_CURRENT_USER\Software\..." -> root and subkey; a path without a known
// root prefix is a subkey of HKEY_LOCAL_MACHINE.
RegistryPath ParseRegistryPath(std::string_view text);
// A shell command's program: the text between the first two double quotes
// when it has one, else the whole text.
std::string ProgramFromCommand(std::string_view command);
bool ContainsNoCase(std::string_view text, std::string_view part);

// Window messages and app commands the players are driven with.
inline constexpr unsigned kWmKeyDown = 0x0100;
inline constexpr unsigned kWmKeyUp = 0x0101;
inline constexpr unsigned kWmCommand = 0x0111;
enum class AppCommand : int { Next = 11, Previous = 12, Stop = 13, PlayPause = 14 };

inline constexpr unsigned kWinampPlay = 40045;
inline constexpr unsigned kWinampPause = 40046;

// Monitor's side of the players: registry reads (never creating keys), window
// lookups, program start and messages.
class MediaHost {
  public:
    virtual ~MediaHost() = default;
    // nullptr valueName reads the key's default value. Nothing when the key
    // or value is missing.
    virtual std::optional<std::string> ReadRegistryString(const RegistryPath& path,
                                                          const char* valueName) = 0;
    virtual std::string ExpandEnvironment(const std::string& text) = 0;
    // Either argument may be nullptr (not compared). 0 when not found.
    virtual std::uintptr_t FindTopWindow(const char* className, const char* title) = 0;
    virtual void BringToForeground(std::uintptr_t window) = 0;
    virtual void Run(const std::string& path) = 0;
    // WM_APPCOMMAND to Monitor's own window, handed on by default processing.
    virtual void PostAppCommand(int command) = 0;
    // Sends to another program's window and waits for it only a short time:
    // false when the window did not answer in time (a hung player).
    virtual bool SendMessageTo(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                               std::intptr_t lParam) = 0;
    virtual void PostMessageTo(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                               std::intptr_t lParam) = 0;
};

class MediaPlayers {
  public:
    MediaPlayers(MediaHost& host, Clock& clock) : host_(host), clock_(clock) {}

    // Media data 32: start the player, or bring up the running one.
    void StartOrActivate(int mediaOption);
    // Media data 33..36.
    void Transport(int mediaOption, MediaCommand command);

    int WinampToggle() const { return winampToggle_; }

  private:
    void RunIfNamed(const RegistryPath& key, const char* value, bool quoted, const char* name);
    void ITunes(MediaCommand command);
    void RealPlayer(MediaCommand command);
    void Winamp(MediaCommand command);

    MediaHost& host_;
    Clock& clock_;
    int winampToggle_ = 0;
};

}  // namespace runtime
