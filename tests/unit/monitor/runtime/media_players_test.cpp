#include "monitor/runtime/media_players.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/unit/monitor/runtime/runtime_fakes.h"

namespace runtime::test {
namespace {

class FakeMediaHost : public MediaHost {
  public:
    std::optional<std::string> ReadRegistryString(const RegistryPath& path,
                                                  const char* value) override {
        const std::string key = std::to_string(static_cast<int>(path.root)) + ":" + path.subkey +
                                "|" + (value ? value : "");
        reads.push_back(key);
        auto it = registry.find(key);
        if (it == registry.end())
            return std::nullopt;
        return it->second;
    }
    std::string ExpandEnvironment(const std::string& t) override {
        std::string s = t;
        const auto at = s.find("%ProgramFiles%");
        if (at != std::string::npos)
            s.replace(at, 14, "C:\\Program Files");
        return s;
    }
    std::uintptr_t FindTopWindow(const char* cls, const char* title) override {
        const std::string key = std::string(cls ? cls : "-") + "/" + (title ? title : "-");
        auto it = windows.find(key);
        return it == windows.end() ? 0 : it->second;
    }
    void BringToForeground(std::uintptr_t w) override { Log("foreground " + std::to_string(w)); }
    void Run(const std::string& path) override { Log("run " + path); }
    void PostAppCommand(int c) override { Log("appcommand " + std::to_string(c)); }
    bool SendMessageTo(std::uintptr_t w, unsigned m, std::uintptr_t wp, std::intptr_t lp) override {
        Log("send " + Msg(w, m, wp, lp));
        return answers;
    }
    void PostMessageTo(std::uintptr_t w, unsigned m, std::uintptr_t wp, std::intptr_t lp) override {
        Log("post " + Msg(w, m, wp, lp));
    }

    static std::string Msg(std::uintptr_t w, unsigned m, std::uintptr_t wp, std::intptr_t lp) {
        char text[80];
        std::snprintf(text, sizeof text, "%u %u %u %08X", static_cast<unsigned>(w), m,
                      static_cast<unsigned>(wp), static_cast<unsigned>(lp));
        return text;
    }
    void Log(const std::string& s) {
        log.push_back(s + "@" + std::to_string(clock->NowUs() / 1000));
    }

    FakeClock* clock = nullptr;
    bool answers = true;  // false: the player's window is hung
    std::map<std::string, std::string> registry;
    std::map<std::string, std::uintptr_t> windows;
    std::vector<std::string> reads;
    std::vector<std::string> log;
};

const std::string kWmp = "0:Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe|";
const std::string kITunes = "0:SOFTWARE\\Apple Computer, Inc.\\iPod\\RegisteredApps\\4|path";
const std::string kReal = "0:SOFTWARE\\Classes\\Applications\\RealPlay.exe\\shell\\open\\command|";
const std::string kWinamp = "0:SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command|";

class MediaPlayersTest : public ::testing::Test {
  protected:
    MediaPlayersTest() { host.clock = &clock; }
    FakeClock clock;
    FakeMediaHost host;
    MediaPlayers players{host, clock};
};

TEST_F(MediaPlayersTest, WindowsMediaPlayerStartsOrComesToTheFront) {
    host.registry[kWmp] = "%ProgramFiles%\\Windows Media Player\\wmplayer.exe";
    players.StartOrActivate(0);
    host.windows["-/Windows Media Player"] = 42;
    players.StartOrActivate(0);
    const std::vector<std::string> expected = {
        "run C:\\Program Files\\Windows Media Player\\wmplayer.exe@0", "foreground 42@0"};
    EXPECT_EQ(host.log, expected);
}

TEST_F(MediaPlayersTest, MissingRegistryEntriesMeanNotInstalled) {
    for (int option = 0; option <= 3; ++option) players.StartOrActivate(option);
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.reads.size(), 4u);
}

TEST_F(MediaPlayersTest, PlayersAreStartedOnlyWhenTheEntryNamesThem) {
    host.registry[kITunes] = "C:\\Program Files\\iTunes\\iTunes.exe";
    host.registry[kReal] = "\"C:\\Real\\RealPlay.exe\" \"%1\"";
    host.registry[kWinamp] = "C:\\Winamp\\winamp.exe";  // no quotes: used whole
    players.StartOrActivate(1);
    players.StartOrActivate(2);
    players.StartOrActivate(3);
    host.registry[kITunes] = "C:\\Other\\player.exe";
    players.StartOrActivate(1);
    const std::vector<std::string> expected = {"run C:\\Program Files\\iTunes\\iTunes.exe@0",
                                               "run C:\\Real\\RealPlay.exe@0",
                                               "run C:\\Winamp\\winamp.exe@0"};
    EXPECT_EQ(host.log, expected);
}

TEST_F(MediaPlayersTest, OptionsOutsideTheFourPlayersDoNothing) {
    players.StartOrActivate(4);
    players.StartOrActivate(-1);
    players.Transport(4, MediaCommand::Next);
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(host.reads.empty());
}

TEST_F(MediaPlayersTest, WindowsMediaPlayerGetsAppCommands) {
    players.Transport(0, MediaCommand::Next);
    players.Transport(0, MediaCommand::Previous);
    players.Transport(0, MediaCommand::PlayPause);
    players.Transport(0, MediaCommand::Stop);
    const std::vector<std::string> expected = {"appcommand 11@0", "appcommand 12@0",
                                               "appcommand 14@0", "appcommand 13@0"};
    EXPECT_EQ(host.log, expected);
}

TEST_F(MediaPlayersTest, ITunesGetsSynthesisedKeysOnlyWhenItsWindowExists) {
    players.Transport(1, MediaCommand::Next);
    EXPECT_TRUE(host.log.empty());
    host.windows["iTunes/iTunes"] = 7;
    players.Transport(1, MediaCommand::Next);
    players.Transport(1, MediaCommand::Previous);
    players.Transport(1, MediaCommand::Stop);
    const std::vector<std::string> expected = {
        "send 7 256 17 001D0001@0",   "send 7 256 39 014D0001@100", "send 7 257 39 C14D0001@200",
        "send 7 257 17 C01D0001@300", "send 7 256 17 001D0001@300", "send 7 256 37 014B0001@400",
        "send 7 257 37 C14B0001@500", "send 7 257 17 C01D0001@600", "post 7 256 32 00390001@600",
        "post 7 257 32 C0390001@700"};
    EXPECT_EQ(host.log, expected);
}

TEST_F(MediaPlayersTest, AHungITunesGetsNoMoreKeysAfterTheOneItDidNotAnswer) {
    host.windows["iTunes/iTunes"] = 7;
    host.answers = false;
    players.Transport(1, MediaCommand::Next);
    EXPECT_EQ(host.log, std::vector<std::string>{"send 7 256 17 001D0001@0"});
    EXPECT_EQ(clock.NowUs(), 0) << "no key gaps waited for a player that does not answer";
}

TEST_F(MediaPlayersTest, RealPlayerCommands) {
    host.windows["GeminiWindowClass/-"] = 3;
    players.Transport(2, MediaCommand::Next);
    players.Transport(2, MediaCommand::Previous);
    players.Transport(2, MediaCommand::PlayPause);
    players.Transport(2, MediaCommand::Stop);
    const std::vector<std::string> expected = {
        "send 3 273 65739 00000000@0", "send 3 273 65740 00000000@0", "send 3 273 65736 00000000@0",
        "send 3 273 65737 00000000@0"};
    EXPECT_EQ(host.log, expected);
}

TEST_F(MediaPlayersTest, WinampPlayPauseAlternatesStartingWithPlay) {
    players.Transport(3, MediaCommand::PlayPause);  // no window: toggle unchanged
    EXPECT_EQ(players.WinampToggle(), 0);
    host.windows["Winamp v1.x/-"] = 5;
    players.Transport(3, MediaCommand::PlayPause);
    players.Transport(3, MediaCommand::PlayPause);
    players.Transport(3, MediaCommand::PlayPause);
    players.Transport(3, MediaCommand::Next);
    players.Transport(3, MediaCommand::Previous);
    players.Transport(3, MediaCommand::Stop);
    const std::vector<std::string> expected = {
        "send 5 273 40045 00000000@0", "send 5 273 40046 00000000@0",
        "send 5 273 40045 00000000@0", "send 5 273 40048 00000000@0",
        "send 5 273 40044 00000000@0", "send 5 273 40047 00000000@0"};
    EXPECT_EQ(host.log, expected);
}

TEST(RegistryPathTest, RootPrefixesAndCommandPaths) {
    auto p = ParseRegistryPath("HKEY_CURRENT_USER\\Software\\X");
    EXPECT_EQ(p.root, RegistryRoot::CurrentUser);
    EXPECT_EQ(p.subkey, "Software\\X");
    p = ParseRegistryPath("HKEY_CLASSES_ROOT\\Winamp.File");
    EXPECT_EQ(p.root, RegistryRoot::ClassesRoot);
    EXPECT_EQ(p.subkey, "Winamp.File");
    p = ParseRegistryPath("HKEY_CURRENT_CONFIGURATION\\X");  // not a prefix
    EXPECT_EQ(p.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(p.subkey, "HKEY_CURRENT_CONFIGURATION\\X");
    EXPECT_EQ(ParseRegistryPath("HKEY_CURRENT_CONFIG").root, RegistryRoot::CurrentConfig);

    EXPECT_EQ(ProgramFromCommand("\"C:\\A B\\w.exe\" \"%1\""), "C:\\A B\\w.exe");
    EXPECT_EQ(ProgramFromCommand("C:\\w.exe %1"), "C:\\w.exe %1");
    EXPECT_EQ(ProgramFromCommand("\"C:\\unterminated"), "C:\\unterminated");
    EXPECT_TRUE(ContainsNoCase("C:\\WINAMP\\x", "winamp"));
    EXPECT_FALSE(ContainsNoCase("C:\\winam", "winamp"));
}

}  // namespace
}  // namespace runtime::test
