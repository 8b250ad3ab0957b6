// Load all and save all of five profiles whose 16 buttons each carry a
// 40-event macro. The native build times our engine against a plain write of
// the same bytes; the Windows build times the system's profile functions
// against our engine compiled into the same program.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "common/settings/ini_engine.h"
#include "common/settings/settings_files.h"
#include "tests/unit/common/settings/profile_samples.h"

#ifdef _WIN32
#include "common/settings/ini_file_win.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double loadMs;
    double saveMs;
};

std::string Folder(const char* name) {
    const auto folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "config");
#ifdef _WIN32
    return folder.string() + "\\";
#else
    return folder.string() + "/";
#endif
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

Figures Measure(settings::IniFileSystem& system, const std::string& folder, int rounds,
                const settings::SettingsBlock& block) {
    settings::SettingsFiles files(system, folder);
    auto loaded = std::make_unique<settings::SettingsBlock>();
    Clock::duration save{};
    Clock::duration load{};
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        if (!settings::SaveAll(files, nullptr, block))
            std::printf("  save failed\n");
        const auto t1 = Clock::now();
        settings::LoadAll(files, nullptr, *loaded, settings::DefaultsFor::Option);
        const auto t2 = Clock::now();
        save += t1 - t0;
        load += t2 - t1;
    }
    if (std::memcmp(loaded->profiles, block.profiles, sizeof block.profiles) != 0) {
        std::printf("  loaded profiles differ from the saved ones\n");
    }
    return {Ms(load) / rounds, Ms(save) / rounds};
}

}  // namespace

int main() {
    auto block = std::make_unique<settings::SettingsBlock>();
    std::memset(block.get(), 0, sizeof *block);
    block->currentProfile = 0;
    for (int n = 0; n < settings::kProfileCount; ++n)
        samples::MacroHeavyProfile(block->profiles[n], n);

    settings::DiskIniFileSystem engine;
    const std::string engineFolder = Folder("bench-settings-engine");
    const int engineRounds = 20;
    const Figures native = Measure(engine, engineFolder, engineRounds, *block);
    std::printf("settings files, 5 profiles x 16 buttons x 40 macro events\n");
    std::printf("  engine: load all %.2f ms, save all %.2f ms (%d rounds)\n", native.loadMs,
                native.saveMs, engineRounds);

#ifdef _WIN32
    settings::SystemIniFileSystem system;
    const std::string systemFolder = Folder("bench-settings-system");
    const int systemRounds = 3;
    const Figures win32 = Measure(system, systemFolder, systemRounds, *block);
    std::printf("  system profile functions: load all %.2f ms, save all %.2f ms (%d rounds)\n",
                win32.loadMs, win32.saveMs, systemRounds);
    std::printf("  ratio system/engine: load %.1f, save %.1f\n", win32.loadMs / native.loadMs,
                win32.saveMs / native.saveMs);
#else
    // Baseline: writing and reading the same six files' bytes without parsing.
    std::string bytes[6];
    const std::string names[6] = {"config.ini",          "config/Default0.gmp",
                                  "config/Default1.gmp", "config/Default2.gmp",
                                  "config/Default3.gmp", "config/Default4.gmp"};
    for (int i = 0; i < 6; ++i) {
        std::ifstream in(engineFolder + names[i], std::ios::binary);
        bytes[i].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const auto t0 = Clock::now();
    std::size_t total = 0;
    for (int r = 0; r < engineRounds; ++r) {
        for (int i = 0; i < 6; ++i) {
            std::ofstream(engineFolder + names[i] + ".raw", std::ios::binary) << bytes[i];
            std::ifstream in(engineFolder + names[i] + ".raw", std::ios::binary);
            std::string back((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
            total += back.size();
        }
    }
    const double rawMs = Ms(Clock::now() - t0) / engineRounds;
    std::printf("  baseline raw write+read of the same %zu bytes: %.2f ms\n", total / engineRounds,
                rawMs);
    std::printf("  ratio engine/raw: load+save %.1f\n", (native.loadMs + native.saveMs) / rawMs);
#endif
    return 0;
}
