#include "common/settings/mouse_registry.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/unit/common/settings/mouse_registry_cases.h"

namespace settings {
namespace {

// Registry double: two keys of text values, a log of every write, and keys
// that can be made unopenable.
class FakeRegistry final : public MouseRegistry {
  public:
    std::map<std::string, std::string> mouse;
    std::map<std::string, std::string> desktop;
    std::vector<std::string> log;
    bool mouseOpens = true;
    bool desktopOpens = true;

    class Key final : public RegistryKey {
      public:
        Key(FakeRegistry& owner, std::map<std::string, std::string>& values, std::string name)
            : owner_(owner), values_(values), name_(std::move(name)) {}
        bool ReadText(const char* name, std::string& text) override {
            auto it = values_.find(name);
            if (it == values_.end())
                return false;
            text = it->second.substr(0, kRegistryTextBuffer - 1);
            return true;
        }
        bool WriteText(const char* name, const std::string& text) override {
            values_[name] = text;
            owner_.log.push_back(name_ + "\\" + name + "=" + text);
            return true;
        }

      private:
        FakeRegistry& owner_;
        std::map<std::string, std::string>& values_;
        std::string name_;
    };

    std::unique_ptr<RegistryKey> Open(MouseRegistryKey key, bool) override {
        if (key == MouseRegistryKey::Mouse) {
            if (!mouseOpens)
                return nullptr;
            return std::make_unique<Key>(*this, mouse, "Mouse");
        }
        if (!desktopOpens)
            return nullptr;
        return std::make_unique<Key>(*this, desktop, "Desktop");
    }
};

ProfileRecord Fresh() {
    ProfileRecord p;
    FillDefaultProfile(p, 0, DefaultsFor::Monitor);
    return p;
}

TEST(AccelerationTable, RowsAndTheHighestMatchingRow) {
    EXPECT_EQ(kAccelerationTable[0].speed, 0);
    EXPECT_EQ(kAccelerationTable[1].threshold1, 13);
    EXPECT_EQ(kAccelerationTable[10].threshold1, 4);
    EXPECT_EQ(kAccelerationTable[11].threshold2, 13);
    EXPECT_EQ(kAccelerationTable[19].threshold2, 5);
    for (int r = 1; r < 10; ++r) EXPECT_EQ(kAccelerationTable[r].threshold1, 14 - r);
    for (int r = 11; r < 20; ++r) EXPECT_EQ(kAccelerationTable[r].threshold2, 24 - r);

    EXPECT_EQ(MatchAccelerationRow(1, 6, 0), 8);
    EXPECT_EQ(MatchAccelerationRow(0, 0, 0), 0);
    EXPECT_EQ(MatchAccelerationRow(2, 4, 5), 19);
    EXPECT_EQ(MatchAccelerationRow(2, 3, 11), 13);
    EXPECT_EQ(MatchAccelerationRow(1, 14, 0), -1);
    EXPECT_EQ(MatchAccelerationRow(3, 0, 0), -1);
    EXPECT_EQ(MatchAccelerationRow(2, 5, 0), -1);
    // Every row is found as itself.
    for (int r = 0; r < kAccelerationRows; ++r) {
        const auto& row = kAccelerationTable[r];
        EXPECT_EQ(MatchAccelerationRow(row.speed, row.threshold1, row.threshold2), r);
    }

    EXPECT_EQ(&AccelerationRowFor(25, 1), &kAccelerationTable[19]);
    EXPECT_EQ(&AccelerationRowFor(-4, 1), &kAccelerationTable[0]);
    EXPECT_EQ(&AccelerationRowFor(12, 1), &kAccelerationTable[12]);
    EXPECT_EQ(&AccelerationRowFor(12, 0), &kAccelerationTable[0]);
    EXPECT_EQ(&AccelerationRowFor(12, 7), &kAccelerationTable[12]);
}

TEST(RegistryNumber, DecimalTextLikeTheRuntime) {
    EXPECT_EQ(RegistryNumber("500"), 500);
    EXPECT_EQ(RegistryNumber("-1"), -1);
    EXPECT_EQ(RegistryNumber("  12x"), 12);
    EXPECT_EQ(RegistryNumber(""), 0);
    EXPECT_EQ(RegistryNumber("abc"), 0);
    EXPECT_EQ(RegistryNumber("99999999999"), 1215752191);
}

TEST(MouseRegistryCases, WritesTheTextsInOrderAndReadsThemBack) {
    for (const registry_cases::RoundTrip& c : registry_cases::kRoundTrips) {
        SCOPED_TRACE(c.name);
        FakeRegistry registry;
        ProfileRecord p = Fresh();
        registry_cases::Put(c.written, p);
        ASSERT_EQ(WriteRegistryFromProfile(registry, p), 1);
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < registry_cases::kValues.size(); ++i)
            expected.push_back(std::string(registry_cases::kValues[i]) + "=" + c.texts[i]);
        EXPECT_EQ(registry.log, expected);

        ProfileRecord back = Fresh();
        ASSERT_EQ(ReadRegistryIntoProfile(registry, back), 1);
        EXPECT_EQ(registry_cases::Take(back), c.readBack);
    }
}

TEST(WriteRegistry, AKeyThatDoesNotOpenEndsTheWrite) {
    FakeRegistry registry;
    const ProfileRecord p = Fresh();
    registry.desktopOpens = false;
    EXPECT_EQ(WriteRegistryFromProfile(registry, p), -1);
    EXPECT_EQ(registry.log.size(), 6u);
    registry.log.clear();
    registry.mouseOpens = false;
    EXPECT_EQ(WriteRegistryFromProfile(registry, p), -1);
    EXPECT_TRUE(registry.log.empty());
}

TEST(ReadRegistry, ConversionsAndResults) {
    FakeRegistry registry;
    registry.mouse = {{"DoubleClickSpeed", "380"}, {"MouseSensitivity", "12"},
                      {"MouseTrails", "7"},        {"MouseSpeed", "1"},
                      {"MouseThreshold1", "6"},    {"MouseThreshold2", "0"}};
    registry.desktop = {{"WheelScrollLines", "-1"}};
    ProfileRecord p = Fresh();
    ASSERT_EQ(ReadRegistryIntoProfile(registry, p), 1);
    // Click, speed, trails on/length, acceleration on/level, wheel by page/lines.
    EXPECT_EQ(registry_cases::Take(p), (registry_cases::PointerValues{380, 12, 1, 7, 1, 8, 1, 0}));

    // Trails outside 2..7, an acceleration that matches no row, low rows.
    registry.mouse["MouseTrails"] = "1";
    registry.mouse["MouseSpeed"] = "3";
    registry.desktop["WheelScrollLines"] = "6";
    p.Acceleration = 2;
    ASSERT_EQ(ReadRegistryIntoProfile(registry, p), 1);
    EXPECT_EQ(registry_cases::Take(p), (registry_cases::PointerValues{380, 12, 0, 4, 0, 2, 0, 6}));

    // Missing values read as 0: row 0, no trails.
    registry.mouse.clear();
    registry.desktop.clear();
    ASSERT_EQ(ReadRegistryIntoProfile(registry, p), 1);
    EXPECT_EQ(p.DbleClickSpeed, 0);
    EXPECT_EQ(p.Acceleration, 0);
    EXPECT_EQ(p.AccelerationFlag, 0);
    EXPECT_EQ(p.ScrollWheelSpeed, 0);

    registry.desktopOpens = false;
    registry.mouse["DoubleClickSpeed"] = "222";
    p.ScrollWheelSpeed = 9;
    EXPECT_EQ(ReadRegistryIntoProfile(registry, p), -1);
    EXPECT_EQ(p.DbleClickSpeed, 222);
    EXPECT_EQ(p.ScrollWheelSpeed, 9);
    registry.mouseOpens = false;
    registry.mouse["DoubleClickSpeed"] = "333";
    EXPECT_EQ(ReadRegistryIntoProfile(registry, p), 0);
    EXPECT_EQ(p.DbleClickSpeed, 222);
}

// System double that logs every call in order.
class LoggingSystem final : public SystemMouse {
  public:
    std::vector<std::string> log;
    void SetDoubleClickTime(int ms) override { Add("dblclick", ms); }
    void SwapMouseButton(bool swap) override { Add("swap", swap ? 1 : 0); }
    void SetMouse(int t1, int t2, int speed) override {
        log.push_back("mouse " + std::to_string(t1) + " " + std::to_string(t2) + " " +
                      std::to_string(speed));
    }
    void SetMouseSpeed(int speed) override { Add("speed", speed); }
    void SetWheelScrollLines(int lines) override { Add("wheel", lines); }
    void SetMouseTrails(int trails) override { Add("trails", trails); }
    void NotifyOwnWindow(unsigned action) override { Add("own", static_cast<int>(action)); }
    void NotifyAllWindows(unsigned action) override { Add("all", static_cast<int>(action)); }

  private:
    void Add(const char* what, int value) { log.push_back(what + (" " + std::to_string(value))); }
};

// A profile applied to a logging system, with a registry double that holds
// the acceleration row given to MouseKeyWithRow.
class ApplySystemMouse : public ::testing::Test {
  protected:
    std::unique_ptr<RegistryKey> MouseKeyWithRow(const char* speed, const char* threshold1,
                                                 const char* threshold2) {
        registry.mouse = {{"MouseSpeed", speed},
                          {"MouseThreshold1", threshold1},
                          {"MouseThreshold2", threshold2}};
        return registry.Open(MouseRegistryKey::Mouse, false);
    }

    FakeRegistry registry;
    LoggingSystem system;
    ProfileRecord p = Fresh();
};

TEST_F(ApplySystemMouse, StepsInOrderWithAccelerationFromTheRegistry) {
    const auto key = MouseKeyWithRow("2", "4", "9");
    registry_cases::Put({610, 17, 1, 0, 1, 15, 0, 8}, p);
    p.Orientation = 1;
    ApplySystemMouseSettings(p, system, key.get());
    EXPECT_EQ(system.log, (std::vector<std::string>{"dblclick 610", "swap 1", "own 33",
                                                    "mouse 4 9 2", "own 4", "speed 17", "own 113",
                                                    "wheel 8", "own 105", "trails 4", "all 93"}));
    EXPECT_EQ(p.Acceleration, 15);
    EXPECT_TRUE(registry.log.empty());
}

TEST_F(ApplySystemMouse, AccelerationOffZeroesTheRegistryFirst) {
    const auto key = MouseKeyWithRow("1", "6", "0");
    registry_cases::Put({p.DbleClickSpeed, p.MouseSpeed, 0, 6, 0, 8, 1, p.ScrollWheelSpeed}, p);
    ApplySystemMouseSettings(p, system, key.get());
    EXPECT_EQ(p.Acceleration, 0);
    EXPECT_EQ(registry.log,
              (std::vector<std::string>{"Mouse\\MouseSpeed=0", "Mouse\\MouseThreshold2=0",
                                        "Mouse\\MouseThreshold1=0"}));
    EXPECT_EQ(system.log[3], "mouse 0 0 0");
    EXPECT_EQ(system.log[7], "wheel -1");
    EXPECT_EQ(system.log[9], "trails 0");

    // Already zero: nothing is written and the level is kept.
    registry.log.clear();
    p.Acceleration = 6;
    ApplySystemMouseSettings(p, system, key.get());
    EXPECT_TRUE(registry.log.empty());
    EXPECT_EQ(p.Acceleration, 6);
    // Any flag other than 1 counts as off.
    registry.mouse["MouseSpeed"] = "1";
    p.AccelerationFlag = 2;
    ApplySystemMouseSettings(p, system, key.get());
    EXPECT_EQ(p.Acceleration, 0);
    EXPECT_EQ(registry.mouse["MouseSpeed"], "0");
}

TEST_F(ApplySystemMouse, ReadFirstTakesTheRegistryIntoTheProfile) {
    registry.mouse = {{"DoubleClickSpeed", "720"}, {"MouseTrails", "3"}};
    registry.desktop = {{"WheelScrollLines", "2"}};
    ApplySystemMouseSettings(p, system, nullptr, &registry);
    EXPECT_EQ(p.DbleClickSpeed, 720);
    EXPECT_EQ(system.log[0], "dblclick 720");
    EXPECT_EQ(system.log[7], "wheel 2");
    EXPECT_EQ(system.log[9], "trails 3");
}

}  // namespace
}  // namespace settings
