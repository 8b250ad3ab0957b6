#include "monitor/runtime/held_input.h"

#include <gtest/gtest.h>

#include "tests/unit/monitor/runtime/runtime_fakes.h"

namespace runtime {
namespace {

// What a crash lets go of is exactly what is still down: keys let go of
// before are not sent again, an extended key goes up as one, and the X
// buttons are told apart by their data.
TEST(HeldInput, ReleaseAllLetsGoOfWhatIsStillDownOnce) {
    test::FakeClock clock;
    test::RecordingInput input(clock);
    HeldInput held;
    held.Key(vk::kLeftControl, false, true);
    held.Key('C', false, true);
    held.Key('C', false, false);
    held.Key(vk::kVolumeUp, true, true);
    held.MouseButtons(mouse_button::kLeft.down, 0);
    held.MouseButtons(mouse_button::kX2.down, 2);
    held.MouseButtons(mouse_button::kX1.down, 1);
    held.MouseButtons(mouse_button::kX1.up, 1);
    held.MouseButtons(mouse_button::kRight.down | mouse_button::kRight.up, 0);

    held.ReleaseAll(input);
    EXPECT_EQ(input.Keys(), "extup:175 up:162 mouse:4 mouse:256");
    ASSERT_EQ(input.events.size(), 4u);
    EXPECT_EQ(input.events[3].data, 2u) << "the second X button";

    input.events.clear();
    held.ReleaseAll(input);
    EXPECT_TRUE(input.events.empty()) << input.Keys();
}

}  // namespace
}  // namespace runtime
