// A console helper for scripts: waits for our windows, reads the shared
// settings block and posts messages, so that a running system can be shown
// and driven from a shell.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "common/protocol.h"
#include "common/settings/settings_block.h"
#include "common/settings/shared_section.h"
#include "common/win/scoped_win.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: MouseProbe wait <title> <seconds>\n"
                 "       MouseProbe block\n"
                 "       MouseProbe post <title> <message> [wParam] [lParam]\n"
                 "       MouseProbe gone <title> <seconds>\n"
                 "       MouseProbe doubleclick   (exit code: the system's double-click time)\n");
    return 2;
}

HWND Find(const char* title) {
    return FindWindowA(nullptr, title);
}

int Wait(const char* title, int seconds, bool forPresence) {
    for (int i = 0; i < seconds * 10; ++i) {
        if ((Find(title) != nullptr) == forPresence) {
            std::printf("%s: %s\n", forPresence ? "up" : "gone", title);
            return 0;
        }
        Sleep(100);
    }
    std::printf("timed out waiting for '%s'\n", title);
    return 1;
}

int PrintBlock() {
    const win::ScopedHandle mutex(
        OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, settings::kSharedMutexName));
    const win::ScopedHandle mapping(
        OpenFileMappingA(FILE_MAP_READ, FALSE, settings::kSharedSectionName));
    if (!mutex || !mapping) {
        std::printf("no shared settings block\n");
        return 1;
    }
    const win::ScopedView view(
        MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, settings::kSettingsBlockSize));
    auto block = std::make_unique<settings::SettingsBlock>();
    if (!view)
        return 1;
    {
        const win::ScopedMutexOwner owner(mutex.Get(), INFINITE);
        if (!owner.Owned() || owner.Abandoned())
            return 1;
        std::memcpy(block.get(), view.Get(), sizeof *block);
    }
    std::printf("shared settings block: %u bytes, current profile %d\n",
                static_cast<unsigned>(sizeof *block), block->currentProfile);
    for (int n = 0; n < settings::kProfileCount; ++n) {
        const auto& p = block->profiles[n];
        char name[251] = {};
        std::memcpy(name, p.ProFileName, sizeof p.ProFileName);
        std::printf("  profile %d '%s': report rate %d, CPI stages %d/%d/%d/%d/%d x100, stage %d\n",
                    n + 1, name, p.PollingRate, p.CpiLevel_X[0], p.CpiLevel_X[1], p.CpiLevel_X[2],
                    p.CpiLevel_X[3], p.CpiLevel_X[4], p.CpiStep + 1);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const std::string verb = argv[1];
    if (verb == "wait" && argc == 4)
        return Wait(argv[2], std::atoi(argv[3]), true);
    if (verb == "gone" && argc == 4)
        return Wait(argv[2], std::atoi(argv[3]), false);
    if (verb == "block")
        return PrintBlock();
    // A fresh process reads the system parameters as they are now, not as
    // they were cached when the asking process first read them.
    if (verb == "doubleclick")
        return static_cast<int>(GetDoubleClickTime());
    if (verb == "post" && argc >= 4) {
        HWND target = Find(argv[2]);
        if (target == nullptr)
            return 1;
        const auto message = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
        const auto wParam = static_cast<WPARAM>(argc > 4 ? std::strtoul(argv[4], nullptr, 0) : 0);
        const auto lParam = static_cast<LPARAM>(argc > 5 ? std::strtol(argv[5], nullptr, 0) : 0);
        return PostMessageA(target, message, wParam, lParam) ? 0 : 1;
    }
    return Usage();
}
