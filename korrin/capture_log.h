// The library's diagnostics: what it found, chose, sent and received, as text
// lines. They always go to the debugger output. A capture, started on the
// client's request, also writes them to a file for five minutes (from the
// next arrival when the mouse is absent at the request), so that a user with
// a real mouse can send us what the device looks like and says.
//
// A capture is safe to send: the contents of macro blocks (the user's recorded
// keystrokes) are never written, only their length; keyboards and digitizers
// are never read (a keyboard is only ever opened without access, digitizers
// not at all); and it stops at 2 MB with one closing line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "korrin/channel_plan.h"
#include "korrin/hid_system.h"

namespace korrin {

class LogSink {
  public:
    virtual ~LogSink() = default;
    // One whole line to the debugger output, without its line feed.
    virtual void Debug(const std::string& line) = 0;
    // The capture file: created empty (false when it cannot be), one line
    // appended (without its line end), closed.
    virtual bool OpenCapture() = 0;
    virtual void WriteCapture(const std::string& line) = 0;
    virtual void CloseCapture() = 0;
    // Full path of the capture file, whether it was made or not.
    virtual std::string CapturePath() const = 0;
};

inline constexpr std::uint64_t kCaptureMs = 5 * 60 * 1000;
inline constexpr std::size_t kCaptureMaxBytes = 2 * 1024 * 1024;
// Command code of the report that announces a macro block.
inline constexpr std::uint8_t kMacroCommand = 0x0F;

// "0A FF 00" for three bytes.
std::string Hex(std::span<const std::uint8_t> bytes);

class CaptureLog {
  public:
    CaptureLog(LogSink& sink, std::function<std::uint64_t()> nowMs);

    // Starts a capture (ending one under way): five minutes from now when the
    // mouse is present, else from its next arrival. False when the file
    // cannot be made.
    bool Start(bool mousePresent, std::string_view header);
    // The mouse arrived: a capture waiting for it starts its five minutes.
    void Arrived();
    // True while a capture records; ends one whose time is up.
    bool Recording();
    // The file of the last capture; empty when there was none.
    std::string LastPath() const;

    // A line stamped with the seconds since start.
    void Line(std::string_view text);
    // Every collection of the device with usage page, report lengths and ids;
    // written only when the set differs from the last one written.
    void Collections(const std::vector<CollectionInfo>& collections);
    // One report received: what, the bytes, and how it went.
    void Report(std::string_view what, std::span<const std::uint8_t> bytes,
                std::string_view outcome);
    // One report sent for a role: the client's payload, the bytes that went
    // to the system (framed), and how it went. The macro command and the
    // chunks of its block are written as their length only.
    void Sent(Role role, std::string_view what, std::span<const std::uint8_t> payload,
              std::span<const std::uint8_t> sent, std::string_view outcome);

  private:
    void WriteLocked(const std::string& line);
    void EndLocked(std::string_view closing);

    LogSink& sink_;
    std::function<std::uint64_t()> nowMs_;
    std::uint64_t startMs_;
    mutable std::mutex lock_;
    std::string lastCollections_;
    bool recording_ = false;
    bool waitingForArrival_ = false;
    bool hadCapture_ = false;
    std::uint64_t endMs_ = 0;
    std::size_t bytes_ = 0;
    bool inMacroBlock_ = false;
};

}  // namespace korrin
