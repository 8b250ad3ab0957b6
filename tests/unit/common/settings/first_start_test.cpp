// The config.ini shipped in the program folder gives a fresh install a sound
// first start: profile 1 current, five default profiles, the OSD defaults.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/settings/ini_engine.h"
#include "common/settings/osd_settings.h"
#include "common/settings/settings_files.h"

namespace settings {
namespace {

TEST(ShippedConfig, FreshInstallStartsOnProfileOneWithDefaults) {
    DiskIniFileSystem disk;
    SettingsFiles files(disk, MOUSE_PACKAGE_DIR);
    ASSERT_TRUE(disk.CanOpen(files.ConfigPath()));
    auto block = std::make_unique<SettingsBlock>();
    ASSERT_TRUE(LoadAll(files, nullptr, *block, DefaultsFor::Monitor));
    EXPECT_EQ(block->currentProfile, 0);
    for (int n = 0; n < kProfileCount; ++n) {
        ProfileRecord expected;
        FillDefaultProfile(expected, n, DefaultsFor::Monitor);
        EXPECT_EQ(std::memcmp(&block->profiles[n], &expected, sizeof expected), 0) << n;
    }
    const int firmware = ReadFirmwareVersion(files);
    EXPECT_GE(firmware, 100);
    EXPECT_LE(firmware, 500);

    OsdSettings osd;
    std::memset(&osd, 0x7F, sizeof osd);
    ASSERT_TRUE(LoadOsdSettings(files, osd));
    OsdSettings expected;
    std::memset(&expected, 0, sizeof expected);
    ResetOsdSettings(expected);
    EXPECT_EQ(std::memcmp(&osd, &expected, sizeof osd), 0);
}

}  // namespace
}  // namespace settings
