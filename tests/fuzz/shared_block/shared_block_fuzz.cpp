// A settings block as Monitor copies it out of the shared section, damaged or
// written by a hostile program of the session: any index, count or code. It
// goes through every upload job of the device encoder and through the
// runtime's answer to every device event. Beyond the sanitizers' faults:
// every command report carries a valid checksum, a profile selection names
// one of the five profiles and a macro block goes to one of the 80 slots.
//
// Input: patches of 4 bytes (offset in the block, 24 bits little-endian,
// taken modulo the block's size; then the byte written there) over a block
// of defaults, then one byte choosing which events the runtime sees first.
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/protocol.h"
#include "common/settings/settings_block.h"
#include "monitor/device/command_report.h"
#include "monitor/device/device_blocks.h"
#include "monitor/device/upload_sequence.h"
#include "tests/fuzz/support/byte_reader.h"
#include "tests/fuzz/support/fuzz_check.h"
#include "tests/fuzz/support/runtime_doubles.h"

namespace {

class CheckingTransport final : public device::Transport {
  public:
    void SendCommand(const device::CommandReport& report) override {
        FUZZ_CHECK(device::ChecksumValid(report));
        if (report[0] == device::command::kSelectProfile)
            FUZZ_CHECK(report[1] >= 1 && report[1] <= settings::kProfileCount);
        if (report[0] == device::command::kMacro)
            FUZZ_CHECK(report[1] >= 1 && report[1] <= device::kMacroSlotCount);
        ++commands;
    }
    int WriteChunk(const device::DataChunk&) override {
        ++chunks;
        return 1;
    }
    int commands = 0;
    int chunks = 0;
};

// Sleeps take no time: the clock jumps to where the sleep would end.
class InstantPacer final : public device::Pacer {
  public:
    std::int64_t NowMicros() override { return now_; }
    void SleepMicros(std::int64_t micros) override { now_ += micros > 0 ? micros : 1; }

  private:
    std::int64_t now_ = 0;
};

void Upload(const settings::SettingsBlock& block) {
    for (const protocol::UploadJob job :
         {protocol::UploadJob::ChangedOnly, protocol::UploadJob::Full,
          protocol::UploadJob::SelectProfile}) {
        CheckingTransport transport;
        InstantPacer pacer;
        const std::atomic<std::int32_t> abort{0};
        device::UploadSequence sequence(transport, pacer, abort);
        int selected = -1;
        device::UploadHooks hooks;
        hooks.afterProfileSelected = [&](int index) { selected = index; };
        FUZZ_CHECK(sequence.Run(job, block, hooks));
        FUZZ_CHECK(selected == -1 || settings::IsValidProfileIndex(selected));
    }
}

// Every event the mouse can report, each press followed by its release and
// a turn of the macro thread.
std::vector<std::uint32_t> AllEventCodes() {
    std::vector<std::uint32_t> codes;
    auto add = [&](std::uint32_t category, std::uint32_t data) {
        codes.push_back(category << 16 | data);
    };
    add(0x1000, 1);
    add(0x1000, 255);
    for (std::uint32_t b = 1; b <= 15; ++b) {
        add(0x4000, b);
        add(0x4000, 0x100 | b);
        add(0x5000, b);
        add(0x5000, 0x100 | b);
        add(0x6000 + b, 0);
    }
    for (std::uint32_t d = 1; d <= 8; ++d) add(0x0700, d);
    for (std::uint32_t d : {1u, 2u, 4u, 8u}) add(0x0500, d);
    add(0xC000, 0x0A05);
    add(0xC000, 0x1401);
    for (std::uint32_t k = 32; k <= 39; ++k) {
        add(0xF000, k);
        add(0xF000, 0x100 | k);
    }
    for (std::uint32_t p = 1; p <= 5; ++p) add(0x7000, p);
    add(0x7F00, 2);
    add(0x7F00, 1);
    return codes;
}

void RunEvents(settings::SettingsBlock& block, std::uint8_t order) {
    fuzz::RuntimeRig rig(block);
    const std::vector<std::uint32_t> codes = AllEventCodes();
    const std::size_t first = order % codes.size();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const std::uint32_t code = codes[(first + i) % codes.size()];
        rig.runtime.OnDeviceEvent(code >> 16, static_cast<std::intptr_t>(code & 0xFFFFu));
        rig.RunMacroThread();
        rig.runtime.OnKeyRepeatTimer();
        rig.runtime.OnVolumeTimer();
    }
    rig.runtime.OnGameWatchTimer();
    rig.runtime.Shutdown();
    rig.RunMacroThread();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader in(data, size);
    auto block = std::make_unique<settings::SettingsBlock>();
    settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
    auto* bytes = reinterpret_cast<std::uint8_t*>(block.get());
    while (in.Left() >= 4) {
        const std::uint32_t offset = in.U24();
        bytes[offset % settings::kSettingsBlockSize] = in.Byte();
    }
    const std::uint8_t order = in.Byte();

    Upload(*block);
    for (int p = 0; p < settings::kProfileCount; ++p) {
        (void)device::BuildProfileParameterBlock(block->profiles[p]);
        device::DataBlock keyMap{};
        device::MacroStaging staging;
        device::BuildKeyMapAndMacros(block->profiles[p], p, keyMap, staging);
    }
    RunEvents(*block, order);
    return 0;
}
