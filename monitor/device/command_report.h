// The 8-byte command report that configures the mouse, and the values its
// argument bytes are computed from.
#pragma once

#include <array>
#include <cstdint>

namespace device {

using CommandReport = std::array<std::uint8_t, 8>;
using DataBlock = std::array<std::uint8_t, 128>;
using DataChunk = std::array<std::uint8_t, 64>;

namespace command {
inline constexpr std::uint8_t kBeginConfiguration = 0x01;
inline constexpr std::uint8_t kSelectProfile = 0x02;
inline constexpr std::uint8_t kPollingRate = 0x03;
inline constexpr std::uint8_t kActiveDpiStage = 0x04;
inline constexpr std::uint8_t kProfileParameters = 0x0C;
inline constexpr std::uint8_t kKeyMap = 0x0D;
inline constexpr std::uint8_t kMacro = 0x0F;
}  // namespace command

inline constexpr std::uint8_t kBeginConfigurationArgument = 0x88;
// Byte 2 of a command that is followed by a data block: the block length.
inline constexpr std::uint8_t kBlockLengthArgument = 0x80;

// Complement of the 8-bit sum of the first seven bytes.
std::uint8_t ReportChecksum(const CommandReport& report);
bool ChecksumValid(const CommandReport& report);

// Code, two arguments, zeroes, checksum.
CommandReport MakeCommand(std::uint8_t code, std::uint8_t byte1, std::uint8_t byte2);

// Profile index 0..4 as the mouse numbers it (1..5).
inline std::uint8_t ProfileNumber(int profileIndex) {
    return static_cast<std::uint8_t>(profileIndex + 1);
}

// Active CPI stage as the mouse numbers it: CpiStep + 1, sent as its low byte.
// Summed in unsigned arithmetic, so a damaged step (the block comes from the
// shared section) wraps like every other byte instead of overflowing.
inline std::uint8_t StageNumber(std::int32_t cpiStep) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(cpiStep) + 1u);
}

// Report interval in ms for a PollingRate setting (0: 125 Hz ... 3: 1000 Hz).
std::uint8_t ReportIntervalMs(std::int32_t pollingRate);

}  // namespace device
