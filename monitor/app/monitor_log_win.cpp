#include "monitor/app/monitor_log_win.h"

#include <windows.h>

#include <cstdio>

#include "common/path_join.h"
#include "common/win/scoped_win.h"

namespace monitor {

namespace {

class LogFilesWin : public device::LogFiles {
  public:
    explicit LogFilesWin(std::string folder) : folder_(std::move(folder)) {}

    std::uint64_t Size(const std::string& path) override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
            return 0;
        return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    bool Append(const std::string& path, std::string_view text) override {
        // The folder may have been removed while Monitor runs.
        CreateDirectoryA(folder_.c_str(), nullptr);
        win::ScopedFileHandle file(CreateFileA(
            path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return false;
        DWORD written = 0;
        return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written,
                         nullptr) != FALSE &&
               written == text.size();
    }
    bool Replace(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    }
    bool Remove(const std::string& path) override { return DeleteFileA(path.c_str()) != FALSE; }
    std::string Read(const std::string& path) override {
        win::ScopedFileHandle file(CreateFileA(
            path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return {};
        std::string text(static_cast<std::size_t>(Size(path)), '\0');
        DWORD read = 0;
        if (text.empty() ||
            !ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
            return {};
        text.resize(read);
        return text;
    }

  private:
    std::string folder_;
};

}  // namespace

MonitorLog::MonitorLog(const std::string& programFolder)
    : folder_(paths::JoinPath(programFolder, "logs")),
      files_(std::make_unique<LogFilesWin>(folder_)),
      log_(*files_, paths::JoinPath(folder_, "monitor.log"),
           paths::JoinPath(folder_, "monitor.1.log"), kFileLimitBytes) {}

MonitorLog::~MonitorLog() = default;

void MonitorLog::Line(const char* format, ...) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char text[512];
    int length =
        std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear,
                      now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    va_list args;
    va_start(args, format);
    std::vsnprintf(text + length, sizeof text - static_cast<std::size_t>(length), format, args);
    va_end(args);
    std::lock_guard<std::mutex> lock(lock_);
    log_.Write(text);
}

std::vector<std::string> MonitorLog::LastLines(std::size_t count) {
    std::lock_guard<std::mutex> lock(lock_);
    return log_.LastLines(count);
}

}  // namespace monitor
