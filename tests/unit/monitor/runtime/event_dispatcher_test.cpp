#include "monitor/runtime/event_dispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace runtime {
namespace {

class RecordingActions : public DeviceActions {
  public:
    void ConnectionChanged(bool arrived) override { Add("connection", arrived); }
    void Tilt(bool right) override { Add("tilt", right); }
    void SwitchProfile(int index) override { Add("profile", index); }
    void ButtonAction(int button, bool released, bool notice) override {
        Add("button", button, released, notice);
    }
    void LaunchProgram(int button) override { Add("launch", button); }
    void OpenOption() override { Add("option"); }
    void CpiLevelChanged(int level) override { Add("cpi", level); }
    void PollingIntervalChanged(int ms) override { Add("polling", ms); }
    void SensitivityChanged(int x, int y) override { Add("sensitivity", x, y); }
    void MediaKey(int key, bool released) override { Add("media", key, released); }

    std::string calls;

  private:
    template <class... T>
    void Add(const char* name, T... values) {
        if (!calls.empty())
            calls += ';';
        calls += name;
        ((calls += ' ' + std::to_string(static_cast<int>(values))), ...);
    }
};

struct Case {
    std::uint32_t code;
    const char* expected;  // "" = ignored
};

TEST(EventDispatcherTest, EveryRowAndItsRangeBoundaries) {
    const Case cases[] = {
        {0x7F000001, "connection 1"},
        {0x7F000002, "connection 0"},
        {0x7F000000, ""},
        {0x7F000003, ""},
        {0x10000001, "tilt 1"},
        {0x100000FF, "tilt 0"},
        {0x10000002, ""},
        {0x10000000, ""},
        {0x70000001, "profile 0"},
        {0x70FF0005, "profile 4"},
        {0x70000006, ""},
        {0x70000000, ""},
        {0x40000001, "button 1 0 1"},
        {0x4000010F, "button 15 1 1"},
        {0x40000010, ""},
        {0x40000000, ""},
        {0x50000003, "button 3 0 0"},
        {0x50008003, "button 3 1 0"},
        {0x60030000, "launch 3"},
        {0x600F00AB, "launch 15"},
        {0x60030100, ""},
        {0x60000000, ""},
        {0x60100000, ""},
        {0xA0001234, "option"},
        {0x07000001, "cpi 0"},
        {0x07FF0008, "cpi 7"},
        {0x07000009, ""},
        {0x05000001, "polling 1"},
        {0x05000002, "polling 2"},
        {0x05000004, "polling 4"},
        {0x05000008, "polling 8"},
        {0x05000003, ""},
        {0x05000007, ""},
        {0xC0001401, "sensitivity 1 20"},
        {0xC0001501, "sensitivity 1 21"},
        {0xC0000005, "sensitivity 5 0"},
        {0xC0001500, ""},
        {0xC000FF15, ""},
        {0xF0000020, "media 32 0"},
        {0xF0000127, "media 39 1"},
        {0xF000001F, ""},
        {0xF0000028, ""},
        {0x08000001, ""},
        {0x71000001, ""},
        {0x41000001, ""},
        {0x00000000, ""},
    };
    for (const Case& c : cases) {
        RecordingActions actions;
        const bool handled = DispatchDeviceEvent(c.code, actions);
        EXPECT_EQ(actions.calls, c.expected) << std::hex << c.code;
        EXPECT_EQ(handled, c.expected[0] != '\0') << std::hex << c.code;
    }
}

TEST(EventDispatcherTest, MessageParametersFormTheEventCode) {
    EXPECT_EQ(DeviceEventCode(0x4000, 0x0103), 0x40000103u);
    // Only the low 16 bits of lParam count.
    EXPECT_EQ(DeviceEventCode(0x7001, static_cast<std::intptr_t>(0x7FFF0002)), 0x70010002u);
    EXPECT_EQ(DeviceEventCode(0xF000, -1), 0xF000FFFFu);
    EXPECT_EQ(ConnectionEventCode(1), 0x7F000001u);
    EXPECT_EQ(ConnectionEventCode(0), 0x7F000002u);
    EXPECT_EQ(ConnectionEventCode(5), 0x7F000000u);
}

}  // namespace
}  // namespace runtime
