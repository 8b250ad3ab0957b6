// A media player that stopped answering its messages must not hold up
// Monitor: each command sent to it gives up after a short time-out.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "monitor/runtime/media_players.h"
#include "monitor/runtime/win/media_players_win.h"
#include "monitor/runtime/win/runtime_input_win.h"
#include "tests/support/hung_window_win.h"

namespace runtime::test {
namespace {

using HungPlayer = testsupport::HungWindow;

// Runs `command` on a thread of its own, so that a send that never returns
// fails the test instead of hanging it; the milliseconds it took, or -1.
template <class Command>
long TimeCommand(HungPlayer& player, Command command) {
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const DWORD start = GetTickCount();
    std::thread caller([&] {
        command();
        SetEvent(done);
    });
    const bool returned = WaitForSingleObject(done, 10000) == WAIT_OBJECT_0;
    const long took = returned ? static_cast<long>(GetTickCount() - start) : -1;
    if (!returned)
        player.Release();  // lets a blocked send return
    caller.join();
    CloseHandle(done);
    return took;
}

TEST(HungPlayerWinTest, TransportCommandsToAHungPlayerReturnAfterTheTimeOut) {
    MediaHostWin host(nullptr);
    ClockWin clock;
    MediaPlayers players(host, clock);

    HungPlayer winamp("Winamp v1.x", "Winamp");
    ASSERT_NE(winamp.Hwnd(), nullptr);
    ASSERT_EQ(host.FindTopWindow("Winamp v1.x", nullptr),
              reinterpret_cast<std::uintptr_t>(winamp.Hwnd()));
    const long winampTook = TimeCommand(winamp, [&] { players.Transport(3, MediaCommand::Stop); });
    EXPECT_GE(winampTook, 0) << "Winamp's command never returned";
    EXPECT_LT(winampTook, 5000);
    winamp.Release();

    // iTunes is sent four keys; the first unanswered one ends the command.
    HungPlayer itunes("iTunes", "iTunes");
    ASSERT_NE(itunes.Hwnd(), nullptr);
    const long itunesTook = TimeCommand(itunes, [&] { players.Transport(1, MediaCommand::Next); });
    EXPECT_GE(itunesTook, 0) << "iTunes' command never returned";
    EXPECT_LT(itunesTook, 5000);
}

}  // namespace
}  // namespace runtime::test
