// What Windows shows of the two programs: name, version, and a manifest that
// runs them as the invoking user, per-monitor DPI aware, with common controls
// 6 (Monitor for the process; Option for the system windows it opens).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/harness/harness_win.h"

namespace {

std::string VersionValue(const std::string& exe, const char* name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(exe.c_str(), 0, size, data.data()))
        return {};
    void* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(data.data(), path.c_str(), &value, &length) || length == 0)
        return {};
    return static_cast<const char*>(value);
}

std::string Manifest(const std::string& exe, WORD id = 1) {
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr)
        return {};
    std::string text;
    if (HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(24))) {
        if (HGLOBAL loaded = LoadResource(module, res)) {
            text.assign(static_cast<const char*>(LockResource(loaded)),
                        SizeofResource(module, res));
        }
    }
    FreeLibrary(module);
    return text;
}

TEST(ProgramResources, EveryProgramAsksForPerMonitorDpiAwarenessWithFallbacks) {
    for (const char* program : {"Option", "Monitor", "VantorOSD"}) {
        SCOPED_TRACE(program);
        const std::string manifest = Manifest(e2e::DistFolder() + program + ".exe");
        EXPECT_NE(manifest.find("PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
        EXPECT_NE(manifest.find("true/pm</dpiAware>"), std::string::npos);
    }
}

TEST(ProgramResources, BothProgramsCarryVersionAndManifest) {
    for (const char* program : {"Option", "Monitor"}) {
        SCOPED_TRACE(program);
        const std::string exe = e2e::DistFolder() + program + ".exe";
        EXPECT_EQ(VersionValue(exe, "FileDescription"),
                  std::string("Professional Gaming Optical Mouse ") + program);
        EXPECT_EQ(VersionValue(exe, "ProductVersion"), "1.12.0.0");
        EXPECT_EQ(VersionValue(exe, "OriginalFilename"), std::string(program) + ".exe");
        const std::string manifest = Manifest(exe);
        EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
        // Option's own windows run on the plain controls; the second manifest
        // is what its message boxes and file dialogs are made with.
        const std::string themed = Manifest(exe, std::string(program) == "Option" ? 2 : 1);
        EXPECT_NE(themed.find("Microsoft.Windows.Common-Controls"), std::string::npos);
        EXPECT_NE(themed.find("version=\"6.0.0.0\""), std::string::npos);
    }
}

}  // namespace
