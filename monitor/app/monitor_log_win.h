// Monitor's own log: "logs\monitor.log" in the program folder, with the
// previous file as "logs\monitor.1.log", each at most 256 KB. Arrivals,
// removals, channel choices, upload jobs with their duration and result, and
// errors; never settings contents, names of profiles, macros or programs.
// Any thread may write.
#pragma once

#include <cstdarg>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "monitor/device/rotating_log.h"

namespace monitor {

class MonitorLog {
  public:
    static constexpr std::uint64_t kFileLimitBytes = 256 * 1024;

    // Opens nothing yet: the folder and files appear with the first line.
    explicit MonitorLog(const std::string& programFolder);
    ~MonitorLog();
    MonitorLog(const MonitorLog&) = delete;
    MonitorLog& operator=(const MonitorLog&) = delete;

    void Line(const char* format, ...) __attribute__((format(printf, 2, 3)));
    std::vector<std::string> LastLines(std::size_t count);
    const std::string& Folder() const { return folder_; }

  private:
    std::string folder_;
    std::unique_ptr<device::LogFiles> files_;
    std::mutex lock_;
    device::RotatingLog log_;
};

}  // namespace monitor
