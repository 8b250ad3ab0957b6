// The library's diagnostics: what it found, chose, sent and received, as text
// lines. They always go to the debugger output; while a capture file exists
// they are appended to it as well, so that the first user with a real mouse
// can send us what the device really looks like and says.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "korrin/hid_system.h"

namespace korrin {

class LogSink {
  public:
    virtual ~LogSink() = default;
    // One whole line, without its line feed.
    virtual void Write(const std::string& line) = 0;
    // True while the lines are also captured to a file.
    virtual bool Capturing() const = 0;
};

// Raw input reports are recorded for this long after the library started, so
// that a capture stays a readable size however busy the device is.
inline constexpr std::uint64_t kRawCaptureMs = 5 * 60 * 1000;

// "0A FF 00" for three bytes.
std::string Hex(std::span<const std::uint8_t> bytes);

class CaptureLog {
  public:
    CaptureLog(LogSink& sink, std::function<std::uint64_t()> nowMs);

    bool Capturing() const { return sink_.Capturing(); }
    // A line stamped with the seconds since start.
    void Line(std::string_view text);
    // True during the first minutes after start.
    bool RawWindowOpen() const;
    // Every collection of the device with usage page, report lengths and ids;
    // written only when the set differs from the last one written.
    void Collections(const std::vector<CollectionInfo>& collections);
    // One report sent or received: what, the bytes, and how it went.
    void Report(std::string_view what, std::span<const std::uint8_t> bytes,
                std::string_view outcome);

  private:
    LogSink& sink_;
    std::function<std::uint64_t()> nowMs_;
    std::uint64_t startMs_;
    std::mutex lock_;
    std::string lastCollections_;
};

}  // namespace korrin
