#include "common/settings/key_codes.h"
#include "tests/support/moved_keys_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace settings {
namespace {

using TestLayout = testsupport::MovedKeysLayout;

const TestLayout kUs;
const TestLayout kGerman({{'Y', 'Z'}, {'Z', 'Y'}});
const TestLayout kFrench({{'A', 'Q'}, {'Q', 'A'}});

// A layout that knows no key at all.
class EmptyLayout final : public KeyboardLayout {
  public:
    unsigned VirtualKeyToScanCode(unsigned) const override { return 0; }
    unsigned ScanCodeToVirtualKey(unsigned) const override { return 0; }
};

TEST(KeyCodeTable, ShapeAndNotableRows) {
    const auto rows = KeyCodeTable();
    ASSERT_EQ(rows.size(), 109u);
    std::set<unsigned> codes;
    for (const auto& r : rows) {
        EXPECT_TRUE(codes.insert(r.keyCode).second) << std::hex << unsigned(r.keyCode);
        // Exactly the letters, digits, punctuation and F-keys have scan codes.
        EXPECT_EQ(r.scanCode != 0, r.keyCode >= 0x04 && r.keyCode <= 0x45)
            << std::hex << unsigned(r.keyCode);
    }
    EXPECT_EQ(codes.count(0x32), 0u);
    EXPECT_EQ(codes.count(0x64), 0u);
    auto row = [&](unsigned code) {
        for (const auto& r : rows) {
            if (r.keyCode == code)
                return r;
        }
        return KeyCodeRow{0, 0, 0};
    };
    EXPECT_EQ(row(0x46).virtualKey, 0x2A);  // Print Screen
    EXPECT_EQ(row(0x04).scanCode, 0x1E);
    EXPECT_EQ(row(0x1D).scanCode, 0x2C);
    EXPECT_EQ(row(0x27).virtualKey, 0x30);
    EXPECT_EQ(row(0x44).scanCode, 0x57);
    EXPECT_EQ(row(0x45).scanCode, 0x58);
    EXPECT_EQ(row(0x58).virtualKey, 0x6C);
    EXPECT_EQ(row(0x65).virtualKey, 0x5D);
    EXPECT_EQ(row(0xE3).virtualKey, 0x5B);
    EXPECT_EQ(row(0xE7).virtualKey, 0x5C);
    EXPECT_EQ(row(0xF4).virtualKey, 0xF4);
}

TEST(KeyCodeConversions, UsLayoutRoundTripsEveryRow) {
    for (const auto& r : KeyCodeTable()) {
        const KeyLookup vk = VirtualKeyFromKeyCode(r.keyCode, kUs);
        ASSERT_TRUE(vk.found);
        EXPECT_EQ(vk.value, r.virtualKey);
        const KeyLookup code = KeyCodeFromVirtualKey(vk.value, kUs);
        ASSERT_TRUE(code.found);
        EXPECT_EQ(code.value, r.keyCode);
    }
}

TEST(KeyCodeConversions, KeysAreStoredByPosition) {
    // German: the key in the US "Z" position produces Y.
    EXPECT_EQ(KeyCodeFromVirtualKey('Y', kGerman).value, 0x1Du);  // Z position
    EXPECT_EQ(KeyCodeFromVirtualKey('Z', kGerman).value, 0x1Cu);  // Y position
    EXPECT_EQ(VirtualKeyFromKeyCode(0x1D, kGerman).value, unsigned('Y'));
    EXPECT_EQ(VirtualKeyFromKeyCode(0x1D, kUs).value, unsigned('Z'));
    // French: A and Q exchanged.
    EXPECT_EQ(KeyCodeFromVirtualKey('A', kFrench).value, 0x14u);  // Q position
    EXPECT_EQ(VirtualKeyFromKeyCode(0x14, kFrench).value, unsigned('A'));
    EXPECT_EQ(VirtualKeyFromKeyCode(0x04, kFrench).value, unsigned('Q'));
    // Keys outside the layout range do not move.
    for (const TestLayout* layout : {&kUs, &kGerman, &kFrench}) {
        EXPECT_EQ(KeyCodeFromVirtualKey(0x2A, *layout).value, 0x46u);
        EXPECT_EQ(VirtualKeyFromKeyCode(0xE0, *layout).value, 0xA2u);
        EXPECT_EQ(KeyCodeFromVirtualKey('B', *layout).value, 0x05u);
        // Captured on one layout, played back on the same one: the same key.
        for (unsigned vk = 1; vk < 256; ++vk) {
            const KeyLookup code = KeyCodeFromVirtualKey(vk, *layout);
            if (!code.found)
                continue;
            EXPECT_EQ(VirtualKeyFromKeyCode(code.value, *layout).value, vk) << vk;
        }
    }
}

TEST(KeyCodeConversions, UnknownKeysAndLayoutsWithoutTheKey) {
    EXPECT_FALSE(KeyCodeFromVirtualKey(0xAD, kUs).found);  // a media key
    EXPECT_EQ(KeyCodeFromVirtualKey(0xAD, kUs).value, 0u);
    EXPECT_FALSE(VirtualKeyFromKeyCode(0x32, kUs).found);
    EXPECT_EQ(VirtualKeyFromKeyCode(0x32, kUs).value, 0u);
    EXPECT_FALSE(VirtualKeyFromKeyCode(0x64, kUs).found);
    EXPECT_FALSE(VirtualKeyFromKeyCode(0x00, kUs).found);
    // A layout that cannot map the key: its scan code 0 must not pick the
    // first row without a scan code (Print Screen); the table's row stands.
    const EmptyLayout none;
    EXPECT_EQ(KeyCodeFromVirtualKey('A', none).value, 0x04u);
    EXPECT_EQ(VirtualKeyFromKeyCode(0x04, none).value, unsigned('A'));
}

TEST(KeyName, NamesFromTheTable) {
    EXPECT_EQ(KeyName(0x08), "BackSpace");
    EXPECT_EQ(KeyName(0x0D), "Enter");
    EXPECT_EQ(KeyName(0x14), "CapsLock");
    EXPECT_EQ(KeyName(0x20), "Space");
    EXPECT_EQ(KeyName(0x21), "Page UP");
    EXPECT_EQ(KeyName(0x28), "Down");
    EXPECT_EQ(KeyName(0x29), "Select");
    EXPECT_EQ(KeyName(0x2A), "");
    EXPECT_EQ(KeyName(0x2C), "Print Screen");
    EXPECT_EQ(KeyName(0x2F), "Help");
    EXPECT_EQ(KeyName('0'), "0");
    EXPECT_EQ(KeyName('Q'), "Q");
    EXPECT_EQ(KeyName(0x5D), "APP");
    EXPECT_EQ(KeyName(0x60), "Num_0");
    EXPECT_EQ(KeyName(0x69), "Num_9");
    EXPECT_EQ(KeyName(0x6C), "Num_ ");
    EXPECT_EQ(KeyName(0x6F), "Num_/");
    EXPECT_EQ(KeyName(0x70), "F1");
    EXPECT_EQ(KeyName(0x7B), "F12");
    EXPECT_EQ(KeyName(0x7C), "");
    EXPECT_EQ(KeyName(0x90), "Number Lock");
    EXPECT_EQ(KeyName(0xA0), "Left Shift");
    EXPECT_EQ(KeyName(0xA5), "Right Alt");
    EXPECT_EQ(KeyName(0xBA), ";");
    EXPECT_EQ(KeyName(0xC0), "`");
    EXPECT_EQ(KeyName(0xDC), "\\");
    EXPECT_EQ(KeyName(0xDE), "'");
    EXPECT_EQ(KeyName(0xF2), "Wheel");
    EXPECT_EQ(KeyName(0xF4), "Backward");
    // Everything else is empty.
    for (unsigned vk : {0x00u, 0x01u, 0x0Au, 0x10u, 0x3Au, 0x40u, 0x5Eu, 0xA6u, 0xC1u, 0xDFu, 0xF5u,
                        0xFFu, 0x100u}) {
        EXPECT_EQ(KeyName(vk), "") << vk;
    }
}

}  // namespace
}  // namespace settings
