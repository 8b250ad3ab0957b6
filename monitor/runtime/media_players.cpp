#include "monitor/runtime/media_players.h"

#include <array>
#include <cctype>

namespace runtime {

namespace {

struct RootName {
    const char* prefix;
    RegistryRoot root;
};

constexpr RootName kRoots[] = {
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
};

constexpr const char* kMediaPlayerAppPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe";
constexpr const char* kITunesKey = "SOFTWARE\\Apple Computer, Inc.\\iPod\\RegisteredApps\\4";
constexpr const char* kRealPlayerKey =
    "SOFTWARE\\Classes\\Applications\\RealPlay.exe\\shell\\open\\command";
constexpr const char* kWinampKey = "SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command";

// Key message parameters: repeat 1, scan code, extended and transition bits.
constexpr std::uint32_t kCtrlDown = 0x001D0001;
constexpr std::uint32_t kCtrlUp = 0xC01D0001;
constexpr std::uint32_t kRightDown = 0x014D0001;
constexpr std::uint32_t kRightUp = 0xC14D0001;
constexpr std::uint32_t kLeftDown = 0x014B0001;
constexpr std::uint32_t kLeftUp = 0xC14B0001;
constexpr std::uint32_t kSpaceDown = 0x00390001;
constexpr std::uint32_t kSpaceUp = 0xC0390001;
constexpr int kITunesKeyGapMs = 100;

// A player's menu commands for Next, Previous, Play/Pause and Stop, in the
// order of MediaCommand.
using PlayerMenu = std::array<unsigned, 4>;
constexpr PlayerMenu kRealPlayerMenu = {65739, 65740, 65736, 65737};
// Winamp's Play/Pause alternates between two commands (see Winamp).
constexpr PlayerMenu kWinampMenu = {40048, 40044, 0, 40047};

unsigned MenuCommandOf(const PlayerMenu& menu, MediaCommand command) {
    const int slot = static_cast<int>(command) - static_cast<int>(MediaCommand::Next);
    return slot >= 0 && slot < static_cast<int>(menu.size()) ? menu[static_cast<std::size_t>(slot)]
                                                             : menu[0];
}

std::intptr_t KeyParam(std::uint32_t v) {
    return static_cast<std::intptr_t>(static_cast<std::int32_t>(v));
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

RegistryPath ParseRegistryPath(std::string_view text) {
    for (const RootName& r : kRoots) {
        const std::string_view prefix(r.prefix);
        if (text.substr(0, prefix.size()) == prefix &&
            (text.size() == prefix.size() || text[prefix.size()] == '\\')) {
            std::string_view rest = text.substr(prefix.size());
            if (!rest.empty())
                rest.remove_prefix(1);
            return {r.root, std::string(rest)};
        }
    }
    return {RegistryRoot::LocalMachine, std::string(text)};
}

std::string ProgramFromCommand(std::string_view command) {
    const std::size_t open = command.find('"');
    if (open == std::string_view::npos)
        return std::string(command);
    const std::size_t close = command.find('"', open + 1);
    return std::string(command.substr(
        open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
    if (part.empty())
        return true;
    if (part.size() > text.size())
        return false;
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
        std::size_t j = 0;
        while (j < part.size() && Lower(text[i + j]) == Lower(part[j])) ++j;
        if (j == part.size())
            return true;
    }
    return false;
}

void MediaPlayers::RunIfNamed(const RegistryPath& key, const char* value, bool quoted,
                              const char* name) {
    const std::optional<std::string> text = host_.ReadRegistryString(key, value);
    if (!text)
        return;  // not installed
    const std::string path = quoted ? ProgramFromCommand(*text) : *text;
    if (ContainsNoCase(path, name))
        host_.Run(path);
}

void MediaPlayers::StartOrActivate(int mediaOption) {
    switch (static_cast<MediaPlayer>(mediaOption)) {
        case MediaPlayer::WindowsMedia: {
            const std::optional<std::string> path =
                host_.ReadRegistryString(ParseRegistryPath(kMediaPlayerAppPath), nullptr);
            const std::uintptr_t window = host_.FindTopWindow(nullptr, "Windows Media Player");
            if (window != 0) {
                host_.BringToForeground(window);
            } else if (path && !path->empty()) {
                host_.Run(host_.ExpandEnvironment(*path));
            }
            break;
        }
        case MediaPlayer::ITunes:
            RunIfNamed(ParseRegistryPath(kITunesKey), "path", false, "iTunes");
            break;
        case MediaPlayer::RealPlayer:
            RunIfNamed(ParseRegistryPath(kRealPlayerKey), nullptr, true, "realplay");
            break;
        case MediaPlayer::Winamp:
            RunIfNamed(ParseRegistryPath(kWinampKey), nullptr, true, "winamp");
            break;
        default:
            break;
    }
}

void MediaPlayers::Transport(int mediaOption, MediaCommand command) {
    switch (static_cast<MediaPlayer>(mediaOption)) {
        case MediaPlayer::WindowsMedia: {
            AppCommand app = AppCommand::Next;
            if (command == MediaCommand::Previous)
                app = AppCommand::Previous;
            if (command == MediaCommand::PlayPause)
                app = AppCommand::PlayPause;
            if (command == MediaCommand::Stop)
                app = AppCommand::Stop;
            host_.PostAppCommand(static_cast<int>(app));
            break;
        }
        case MediaPlayer::ITunes:
            ITunes(command);
            break;
        case MediaPlayer::RealPlayer:
            RealPlayer(command);
            break;
        case MediaPlayer::Winamp:
            Winamp(command);
            break;
        default:
            break;
    }
}

void MediaPlayers::ITunes(MediaCommand command) {
    const std::uintptr_t w = host_.FindTopWindow("iTunes", "iTunes");
    if (w == 0)
        return;
    if (command == MediaCommand::Next || command == MediaCommand::Previous) {
        const bool next = command == MediaCommand::Next;
        const unsigned arrow = next ? vk::kRight : vk::kLeft;
        // A player that did not answer one key gets none of the rest: each
        // further send would only wait out its time-out again.
        if (!host_.SendMessageTo(w, kWmKeyDown, vk::kControl, KeyParam(kCtrlDown)))
            return;
        clock_.SleepMs(kITunesKeyGapMs);
        if (!host_.SendMessageTo(w, kWmKeyDown, arrow, KeyParam(next ? kRightDown : kLeftDown)))
            return;
        clock_.SleepMs(kITunesKeyGapMs);
        if (!host_.SendMessageTo(w, kWmKeyUp, arrow, KeyParam(next ? kRightUp : kLeftUp)))
            return;
        clock_.SleepMs(kITunesKeyGapMs);
        host_.SendMessageTo(w, kWmKeyUp, vk::kControl, KeyParam(kCtrlUp));
        return;
    }
    host_.PostMessageTo(w, kWmKeyDown, vk::kSpace, KeyParam(kSpaceDown));
    clock_.SleepMs(kITunesKeyGapMs);
    host_.PostMessageTo(w, kWmKeyUp, vk::kSpace, KeyParam(kSpaceUp));
}

void MediaPlayers::RealPlayer(MediaCommand command) {
    const std::uintptr_t w = host_.FindTopWindow("GeminiWindowClass", nullptr);
    if (w == 0)
        return;
    host_.SendMessageTo(w, kWmCommand, MenuCommandOf(kRealPlayerMenu, command), 0);
}

void MediaPlayers::Winamp(MediaCommand command) {
    const std::uintptr_t w = host_.FindTopWindow("Winamp v1.x", nullptr);
    if (w == 0)
        return;
    unsigned id = MenuCommandOf(kWinampMenu, command);
    if (command == MediaCommand::PlayPause) {
        id = winampToggle_ == 0 ? kWinampPlay : kWinampPause;
        winampToggle_ = winampToggle_ == 0 ? 1 : 0;
    }
    host_.SendMessageTo(w, kWmCommand, id, 0);
}

}  // namespace runtime
