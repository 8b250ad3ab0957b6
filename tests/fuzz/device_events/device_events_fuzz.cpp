// What reaches Monitor's window from outside while it runs: device event
// codes (messages 1325 and 1326), WM_COPYDATA text from applets, and the
// timers and macro thread turns they lead to, in any order. The current
// profile's sixteen buttons are set up from the input first, so presses
// reach key combinations, macros, launches and profile functions.
//
// Input: 16 x 4 bytes (action, key code, modifiers, event count per button),
// then steps of one operation byte and its arguments.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "common/copydata_text.h"
#include "common/protocol.h"
#include "common/settings/settings_block.h"
#include "monitor/runtime/event_dispatcher.h"
#include "tests/fuzz/support/byte_reader.h"
#include "tests/fuzz/support/fuzz_check.h"
#include "tests/fuzz/support/runtime_doubles.h"

namespace {

// Categories of the dispatcher's rows, so steps hit them often.
constexpr std::uint16_t kCategories[] = {0x7F00, 0x1000, 0x7000, 0x7003, 0x4000, 0x5000, 0x6000,
                                         0x6005, 0xA000, 0x0700, 0x0500, 0xC000, 0xF000};

void SetUpButtons(fuzz::ByteReader& in, settings::ProfileRecord& profile) {
    for (int b = 0; b < settings::kButtonCount; ++b) {
        settings::ButtonAssignment& info = profile.MacroKeyInfo[b];
        info.actionCode = in.Byte();
        const std::uint8_t key = in.Byte();
        const std::uint8_t modifiers = in.Byte();
        info.eventCount = static_cast<std::uint16_t>(in.Byte() % (settings::kMaxMacroEvents + 1));
        // A recorded macro presses and releases its keys in turn.
        for (int i = 0; i < settings::kMaxMacroEvents; ++i) {
            info.events[i].keyCode = static_cast<std::uint8_t>(key + i / 2);
            info.events[i].state = static_cast<std::uint8_t>(i % 2 == 0 ? 1 : 2);
            info.events[i].delayMs = 20;
        }
        info.events[0].state = modifiers;
        info.repeatCount = modifiers % 4;
        settings::CopyField(info.macroName, "fuzz macro");
        settings::CopyField(info.programPath, "C:\\games\\game.exe");
    }
}

void CopyDataStep(fuzz::ByteReader& in, fuzz::RuntimeRig& rig) {
    // Mostly the expected 151 bytes, sometimes any size.
    const std::uint8_t choice = in.Byte();
    const std::size_t size = choice < 200 ? protocol::kOsdCopyDataSize : choice;
    std::string bytes = in.Bytes(size);
    bytes.resize(size, '\0');
    const auto text =
        protocol::OsdTextFromCopyData(std::as_bytes(std::span(bytes.data(), bytes.size())));
    if (!text)
        return;
    FUZZ_CHECK(text->size() < protocol::kOsdCopyDataSize);
    rig.runtime.Notices().AppletText(text->c_str(), rig.host.Connected());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader in(data, size);
    auto block = std::make_unique<settings::SettingsBlock>();
    settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
    SetUpButtons(in, block->profiles[0]);
    fuzz::RuntimeRig rig(*block);

    for (int step = 0; step < 2000 && !in.Empty(); ++step) {
        switch (in.Byte() % 12) {
            case 0:
                rig.runtime.OnDeviceEvent(in.U16(), static_cast<std::intptr_t>(in.U16()));
                break;
            case 1: {
                const std::uint16_t category = kCategories[in.Byte() % std::size(kCategories)];
                rig.runtime.OnDeviceEvent(category, static_cast<std::intptr_t>(in.U16()));
                break;
            }
            case 2:
                rig.runtime.OnConnectionMessage(in.Byte() % 3);
                break;
            case 3:
                CopyDataStep(in, rig);
                break;
            case 4:
                rig.runtime.OnVolumeTimer();
                break;
            case 5:
                rig.runtime.OnKeyRepeatTimer();
                break;
            case 6:
                rig.runtime.OnGameWatchTimer();
                break;
            case 7:
                rig.RunMacroThread();
                break;
            case 8:
                rig.runtime.OnProfileSelected(in.Byte() % settings::kProfileCount);
                break;
            case 9:
                rig.runtime.ReleaseHeld();
                break;
            case 10:
                rig.clock.Advance(in.U16() * 1000LL);
                break;
            default:
                rig.foreground.exe = in.Bytes(in.Byte() % 16);
                break;
        }
    }
    // Shut-down lets go of everything held and stops the repeat timers.
    rig.runtime.Shutdown();
    rig.RunMacroThread();
    FUZZ_CHECK(!rig.timers.running[protocol::kTimerVolumeRepeat]);
    FUZZ_CHECK(!rig.timers.running[protocol::kTimerKeyRepeat]);
    FUZZ_CHECK(!rig.runtime.Macro().Running());
    return 0;
}
