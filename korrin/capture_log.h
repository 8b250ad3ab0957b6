// The library's diagnostics: what it found, chose, sent and received, as text
// lines. They always go to the debugger output. A capture, started on the
// client's request, also writes them to a file for five minutes (from the
// next arrival when the mouse is absent at the request), so that a user with
// a real mouse can send us what the device looks like and says.
//
// A capture is safe to send: the contents of macro blocks (the user's recorded
// keystrokes) are never written, only their length; keyboards and digitizers
// are never read (only their caps appear, in the device report at its head).
//
// A capture never passes 2 MB, and a collection that streams input reports
// (a vendor collection at 1 kHz) cannot crowd out the rest: repeated input
// reports of a collection are summarised (the first in full, then a count
// with the times and the last one), each collection's reports take at most a
// quarter of the capture, and once the file nears its limit the newest lines
// are kept in memory and written, after a line saying what was left out, when
// the capture ends. The head (collections, candidates, opens) and the tail
// both stay.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
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
// The newest lines kept for the end of a capture that has reached its limit.
inline constexpr std::size_t kCaptureTailBytes = 512 * 1024;
// What the input reports of one collection may take of a capture.
inline constexpr std::size_t kCaptureShareBytes = kCaptureMaxBytes / 4;
// A run of repeated reports is summarised at least this often.
inline constexpr std::uint64_t kCaptureSummaryMs = 1000;
// Lines (other than input reports) kept for the device report, capture or not.
inline constexpr std::size_t kRecentLines = 60;
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
    // A line of the device report quoted at the head of a capture: not kept
    // among the recent lines, which the report itself quotes.
    void Quoted(std::string_view text);
    // Every collection of the device with usage page, report lengths and ids;
    // written only when the set differs from the last one written.
    void Collections(const std::vector<CollectionInfo>& collections);
    // One report received: what (the collection), the bytes, and how it went.
    // A report with the outcome of the one before it from the same collection
    // is counted into a summary instead of written.
    void Report(std::string_view what, std::span<const std::uint8_t> bytes,
                std::string_view outcome);
    // One report sent for a role: the client's payload, the bytes that went
    // to the system (framed), and how it went. The macro command and the
    // chunks of its block are written as their length only.
    void Sent(Role role, std::string_view what, std::span<const std::uint8_t> payload,
              std::span<const std::uint8_t> sent, std::string_view outcome);

    // The newest lines other than input reports, capture or not, oldest
    // first: the opens, sends and presence changes for the device report.
    std::vector<std::string> Recent() const;

  private:
    // Repeated input reports of one collection not yet written.
    struct Run {
        std::string what;
        std::string outcome;
        std::size_t count = 0;  // reports since the last line written for the run
        std::uint64_t firstMs = 0;
        std::uint64_t lastMs = 0;
        std::uint64_t writtenMs = 0;
        std::string last;         // "[65] 00 12 ..."
        std::size_t bytes = 0;    // written for this collection in this capture
        std::size_t dropped = 0;  // reports beyond its share
    };
    std::string Stamp(std::uint64_t ms) const;
    void StampAndWrite(std::string_view text, bool recent);
    void WriteLocked(const std::string& line);
    void ToFileLocked(const std::string& line);
    void EndLocked(std::string_view closing);
    void FlushRunLocked(Run& run);
    void FlushRunsLocked();
    Run& RunLocked(std::string_view what);

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
    std::deque<std::string> tail_;  // newest lines once the file is full, oldest first
    std::size_t tailBytes_ = 0;
    std::size_t leftOutLines_ = 0;
    std::size_t leftOutBytes_ = 0;
    std::vector<Run> runs_;
    std::deque<std::string> recent_;  // at most kRecentLines
    bool inMacroBlock_ = false;
};

}  // namespace korrin
