// The order in which an upload job sends command reports and data blocks to the
// mouse, with its pauses. Transport, time and the abort flag are injected so the
// sequence runs the same against the library, a test double or a benchmark.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "common/protocol.h"
#include "common/settings/settings_block.h"
#include "monitor/device/command_report.h"
#include "monitor/device/device_blocks.h"

namespace device {

class Transport {
  public:
    virtual ~Transport() = default;
    virtual void SendCommand(const CommandReport& report) = 0;
    virtual int WriteChunk(const DataChunk& chunk) = 0;
};

// Monotonic time and sleeping, in microseconds.
class Pacer {
  public:
    virtual ~Pacer() = default;
    virtual std::int64_t NowMicros() = 0;
    // Sleeps about `micros`; may return a little early or late, the caller
    // checks the time against its deadline.
    virtual void SleepMicros(std::int64_t micros) = 0;
};

struct UploadHooks {
    // Job 3, after the selection and its pause: the profile (0..4) now active
    // on the mouse. Monitor shows its profile notice here.
    std::function<void(int profileIndex)> afterProfileSelected;
};

inline constexpr int kBeginRepeats = 5;
inline constexpr int kCommandPauseMs = 200;
inline constexpr int kKeyMapPauseMs = 100;
inline constexpr int kChunkPauseMs = 100;
inline constexpr int kWaitSliceMs = 100;

class UploadSequence {
  public:
    UploadSequence(Transport& transport, Pacer& pacer, const std::atomic<std::int32_t>& abort);

    // Runs one job on `block`. True when the job ran to its end, false when the
    // abort flag stopped it (or the job number is unknown).
    bool Run(protocol::UploadJob job, const settings::SettingsBlock& block,
             const UploadHooks& hooks = {});

    // Result of the last chunk written of the last block (the block's result).
    int LastBlockResult() const { return lastBlockResult_; }
    const MacroStaging& Staging() const { return staging_; }

  private:
    bool Upload(const settings::SettingsBlock& block, bool full);
    bool SelectProfile(const settings::SettingsBlock& block, const UploadHooks& hooks);
    bool Command(std::uint8_t code, std::uint8_t byte1, std::uint8_t byte2, int pauseMs);
    bool SendBlock(std::uint8_t code, std::uint8_t byte1, const DataBlock& block);
    // The pauses run on a timeline of deadlines that starts again when a
    // transfer has completed: the mouse gets its full pause after each
    // transfer, and pauses that follow each other (a chunk's pause, then the
    // step's) add up to one deadline instead of accumulating oversleep.
    void MarkTransfer();
    // Pauses until `ms` after the previous point of the timeline, in slices of
    // at most 100 ms; false as soon as the abort flag is seen.
    bool Wait(int ms);
    bool Aborted() const { return abort_.load() != 0; }

    Transport& transport_;
    Pacer& pacer_;
    const std::atomic<std::int32_t>& abort_;
    DataBlock keyMap_{};
    MacroStaging staging_;
    int lastBlockResult_ = 0;
    std::int64_t scheduleUs_ = 0;
};

}  // namespace device
