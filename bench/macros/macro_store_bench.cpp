// Load and save of a macro store of 500 macros of 40 events each, against a
// plain write and read of the same file's bytes: through our settings engine
// in the native build, through the system's profile functions (what Option
// really uses) in the Windows build.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/settings/ini_engine.h"
#include "option/model/dialogs/macro_store.h"

#ifdef _WIN32
#include "common/settings/ini_file_win.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMacros = 500;
constexpr int kRounds = 10;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Figures {
    double loadMs;
    double saveMs;
    int loaded;
};

// Saves `store` and loads it back into a fresh store, kRounds times.
Figures Measure(settings::IniFileSystem& files, const std::string& folder) {
    option::MacroFileStore store(files, folder);
    for (int m = 0; m < kMacros; ++m) {
        option::MacroRecord& r = store.AddNamed("Macro " + std::to_string(m));
        r.eventCount = settings::kMaxMacroEvents;
        for (int e = 0; e < settings::kMaxMacroEvents; ++e)
            r.events[e] = {static_cast<std::uint8_t>(4 + (m + e) % 40),
                           static_cast<std::uint8_t>(1 + e % 2), static_cast<std::uint16_t>(e * 7)};
    }
    Clock::duration save{};
    Clock::duration load{};
    int loaded = 0;
    for (int i = 0; i < kRounds; ++i) {
        const auto t0 = Clock::now();
        if (!store.Save())
            std::printf("  save failed\n");
        const auto t1 = Clock::now();
        option::MacroFileStore back(files, folder);
        back.Load();
        load += Clock::now() - t1;
        save += t1 - t0;
        loaded = back.Count();
    }
    return {Ms(load) / kRounds, Ms(save) / kRounds, loaded};
}

}  // namespace

int main() {
    const auto dir = std::filesystem::temp_directory_path() / "bench-macro-store";
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    std::filesystem::create_directories(dir / "config");
#ifdef _WIN32
    const std::string folder = dir.string() + "\\";
    const std::string path = folder + "config\\sequence.dat";
    settings::SystemIniFileSystem files;
    const char* through = "system profile functions";
#else
    const std::string folder = dir.string() + "/";
    const std::string path = folder + "config/sequence.dat";
    settings::DiskIniFileSystem files;
    const char* through = "engine";
#endif
    const Figures figures = Measure(files, folder);
    const double loadMs = figures.loadMs;
    const double saveMs = figures.saveMs;
    const int loaded = figures.loaded;

    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const auto t0 = Clock::now();
    std::size_t total = 0;
    for (int i = 0; i < kRounds; ++i) {
        std::ofstream(path + ".raw", std::ios::binary) << bytes;
        std::ifstream raw(path + ".raw", std::ios::binary);
        total +=
            std::string((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>())
                .size();
    }
    const double rawMs = Ms(Clock::now() - t0) / kRounds;

    std::printf("macro store, %d macros x %d events (%zu bytes, %d read back)\n", kMacros,
                settings::kMaxMacroEvents, bytes.size(), loaded);
    std::printf("  %s: load %.2f ms, save %.2f ms (%d rounds)\n", through, loadMs, saveMs, kRounds);
    std::printf("  raw write+read of the same bytes: %.3f ms\n", rawMs);
    std::printf("  ratio %s/raw: load+save %.1f\n", through, (loadMs + saveMs) / rawMs);
#ifdef _WIN32
    // Our own engine compiled into the same program, for scale.
    settings::DiskIniFileSystem engine;
    const Figures own = Measure(engine, folder);
    std::printf("  engine in this program: load %.2f ms, save %.2f ms; ratio engine/raw %.1f\n",
                own.loadMs, own.saveMs, (own.loadMs + own.saveMs) / rawMs);
#endif
    std::filesystem::remove_all(dir, ignored);
    return total == bytes.size() * kRounds && loaded == kMacros ? 0 : 1;
}
