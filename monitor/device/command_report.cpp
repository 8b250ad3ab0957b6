#include "monitor/device/command_report.h"

namespace device {

std::uint8_t ReportChecksum(const CommandReport& report) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < 7; ++i) sum = static_cast<std::uint8_t>(sum + report[i]);
    return static_cast<std::uint8_t>(0xFF - sum);
}

bool ChecksumValid(const CommandReport& report) {
    return report[7] == ReportChecksum(report);
}

CommandReport MakeCommand(std::uint8_t code, std::uint8_t byte1, std::uint8_t byte2) {
    CommandReport report{};
    report[0] = code;
    report[1] = byte1;
    report[2] = byte2;
    report[7] = ReportChecksum(report);
    return report;
}

std::uint8_t ReportIntervalMs(std::int32_t pollingRate) {
    switch (pollingRate) {
        case 0:
            return 8;
        case 1:
            return 4;
        case 3:
            return 1;
        default:
            return 2;
    }
}

}  // namespace device
