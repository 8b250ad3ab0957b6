#include "korrin/capture_log.h"

#include <cstdio>

namespace korrin {

namespace {

std::string Hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

// "12.345" for 12345 ms.
std::string Seconds(std::uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu.%03u", static_cast<unsigned long long>(ms / 1000),
                  static_cast<unsigned>(ms % 1000));
    return text;
}

std::string Describe(const char* type, const ReportSpec& spec) {
    std::string text = std::string(type) + " " + std::to_string(spec.length);
    if (spec.length == 0)
        return text;
    text += " ids";
    if (spec.reports.empty())
        text += " none";
    for (const ReportLength& r : spec.reports) {
        text.push_back(' ');
        text.append(std::to_string(r.id));
        text.push_back(':');
        text.append(std::to_string(r.length));
    }
    return text;
}

}  // namespace

std::string Hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!text.empty())
            text.push_back(' ');
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

CaptureLog::CaptureLog(LogSink& sink, std::function<std::uint64_t()> nowMs)
    : sink_(sink), nowMs_(std::move(nowMs)), startMs_(nowMs_()) {}

bool CaptureLog::Start(bool mousePresent, std::string_view header) {
    std::lock_guard<std::mutex> guard(lock_);
    if (recording_)
        EndLocked("capture ended: a new capture was started");
    if (!sink_.OpenCapture())
        return false;
    recording_ = true;
    hadCapture_ = true;
    bytes_ = 0;
    tail_.clear();
    tailBytes_ = 0;
    leftOutLines_ = 0;
    leftOutBytes_ = 0;
    runs_.clear();
    waitingForArrival_ = !mousePresent;
    endMs_ = nowMs_() + kCaptureMs;
    // The device is described again into the new file.
    lastCollections_.clear();
    WriteLocked(std::string(header));
    WriteLocked(mousePresent ? "recording for 5 minutes"
                             : "mouse absent: recording until 5 minutes after it arrives");
    return true;
}

void CaptureLog::Arrived() {
    std::lock_guard<std::mutex> guard(lock_);
    if (recording_ && waitingForArrival_) {
        waitingForArrival_ = false;
        endMs_ = nowMs_() + kCaptureMs;
        WriteLocked("mouse arrived: recording for 5 minutes from now");
    }
}

bool CaptureLog::Recording() {
    std::lock_guard<std::mutex> guard(lock_);
    if (recording_ && !waitingForArrival_ && nowMs_() >= endMs_)
        EndLocked("capture ended: 5 minutes recorded");
    return recording_;
}

std::string CaptureLog::LastPath() const {
    std::lock_guard<std::mutex> guard(lock_);
    return hadCapture_ ? sink_.CapturePath() : std::string();
}

void CaptureLog::EndLocked(std::string_view closing) {
    const std::string line(closing);
    FlushRunsLocked();
    for (const Run& run : runs_)
        if (run.dropped > 0)
            ToFileLocked(Stamp(nowMs_()) + std::string(run.what) + ": " +
                         std::to_string(run.dropped) +
                         " reports beyond its share of the capture, counted only");
    if (leftOutLines_ > 0)
        sink_.WriteCapture("... " + std::to_string(leftOutLines_) + " lines (" +
                           std::to_string(leftOutBytes_) +
                           " bytes) left out here to keep the head and the end of the capture ...");
    for (const std::string& kept : tail_) sink_.WriteCapture(kept);
    tail_.clear();
    tailBytes_ = 0;
    runs_.clear();
    sink_.WriteCapture(line);
    sink_.Debug(line);
    sink_.CloseCapture();
    recording_ = false;
    waitingForArrival_ = false;
}

void CaptureLog::WriteLocked(const std::string& line) {
    sink_.Debug(line);
    if (!recording_)
        return;
    if (!waitingForArrival_ && nowMs_() >= endMs_) {
        EndLocked("capture ended: 5 minutes recorded");
        return;
    }
    // Whatever else happens, the runs of reports before this line are told first.
    FlushRunsLocked();
    ToFileLocked(line);
}

void CaptureLog::ToFileLocked(const std::string& line) {
    // Room is kept for the line that tells what was left out, the newest
    // lines and the closing line, so the file never passes its limit.
    constexpr std::size_t kClosingRoom = 256;
    const std::size_t size = line.size() + 2;  // with its line end
    if (tail_.empty() && bytes_ + size + kCaptureTailBytes + kClosingRoom <= kCaptureMaxBytes) {
        bytes_ += size;
        sink_.WriteCapture(line);
        return;
    }
    tail_.push_back(line);
    tailBytes_ += size;
    while (tailBytes_ > kCaptureTailBytes) {
        tailBytes_ -= tail_.front().size() + 2;
        leftOutBytes_ += tail_.front().size() + 2;
        ++leftOutLines_;
        tail_.pop_front();
    }
}

std::string CaptureLog::Stamp(std::uint64_t ms) const {
    std::string text = Seconds(ms - startMs_);
    // Right-aligned as seven digits of seconds, then a blank.
    return std::string(text.size() < 11 ? 11 - text.size() : 0, ' ') + text + " ";
}

CaptureLog::Run& CaptureLog::RunLocked(std::string_view what) {
    for (Run& run : runs_)
        if (run.what == what)
            return run;
    Run run;
    run.what = std::string(what);
    runs_.push_back(std::move(run));
    return runs_.back();
}

void CaptureLog::FlushRunLocked(Run& run) {
    if (run.count == 0)
        return;
    const std::string line = Stamp(run.lastMs) + run.what + ": " + std::to_string(run.count) +
                             " more like it from " + Seconds(run.firstMs - startMs_) + " s to " +
                             Seconds(run.lastMs - startMs_) + " s, the last " + run.last + " : " +
                             run.outcome;
    run.count = 0;
    run.writtenMs = run.lastMs;
    run.bytes += line.size() + 2;
    sink_.Debug(line);
    ToFileLocked(line);
}

void CaptureLog::FlushRunsLocked() {
    for (Run& run : runs_) FlushRunLocked(run);
}

std::vector<std::string> CaptureLog::Recent() const {
    std::lock_guard<std::mutex> guard(lock_);
    return {recent_.begin(), recent_.end()};
}

void CaptureLog::Line(std::string_view text) {
    StampAndWrite(text, true);
}

void CaptureLog::Quoted(std::string_view text) {
    StampAndWrite(text, false);
}

void CaptureLog::StampAndWrite(std::string_view text, bool recent) {
    std::string line = Stamp(nowMs_());
    line.append(text);
    std::lock_guard<std::mutex> guard(lock_);
    if (recent) {
        recent_.push_back(line);
        if (recent_.size() > kRecentLines)
            recent_.pop_front();
    }
    WriteLocked(line);
}

void CaptureLog::Collections(const std::vector<CollectionInfo>& collections) {
    std::string all;
    for (const CollectionInfo& c : collections) {
        all += "interface " + c.path + " vid " + Hex4(c.vendorId) + " pid " + Hex4(c.productId) +
               " usage page " + Hex4(c.usagePage) + " usage " + Hex4(c.usage) + ", " +
               Describe("input", c.input) + ", " + Describe("output", c.output) + ", " +
               Describe("feature", c.feature) + "\n";
    }
    if (collections.empty())
        all = "no interface of the device present\n";
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (all == lastCollections_)
            return;
        lastCollections_ = all;
    }
    std::size_t at = 0;
    while (at < all.size()) {
        const std::size_t end = all.find('\n', at);
        Line(std::string_view(all).substr(at, end - at));
        at = end + 1;
    }
}

void CaptureLog::Report(std::string_view what, std::span<const std::uint8_t> bytes,
                        std::string_view outcome) {
    const std::uint64_t now = nowMs_();
    // Built a piece at a time: GCC 12 sees a false overlap in one expression.
    std::string report = "[";
    report += std::to_string(bytes.size());
    report += "] ";
    report += Hex(bytes);
    std::lock_guard<std::mutex> guard(lock_);
    if (!recording_)
        return;
    Run& run = RunLocked(what);
    if (run.bytes >= kCaptureShareBytes) {
        if (run.dropped++ == 0)
            ToFileLocked(Stamp(now) + run.what + ": its reports have taken their share of " +
                         std::to_string(kCaptureShareBytes / 1024) +
                         " KB of the capture; from here on they are only counted");
        return;
    }
    // The same kind of report again: counted, and told once a second.
    if (run.writtenMs != 0 && run.outcome == outcome) {
        if (run.count++ == 0)
            run.firstMs = now;
        run.lastMs = now;
        run.last = std::move(report);
        if (now - run.writtenMs >= kCaptureSummaryMs)
            FlushRunLocked(run);
        return;
    }
    FlushRunLocked(run);
    run.outcome = std::string(outcome);
    run.writtenMs = now == 0 ? 1 : now;
    std::string line = Stamp(now) + run.what + " " + report;
    if (!outcome.empty())
        line += " : " + run.outcome;
    run.bytes += line.size() + 2;
    WriteLocked(line);
}

void CaptureLog::Sent(Role role, std::string_view what, std::span<const std::uint8_t> payload,
                      std::span<const std::uint8_t> sent, std::string_view outcome) {
    bool withhold;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (role == Role::Command)
            inMacroBlock_ = !payload.empty() && payload[0] == kMacroCommand;
        withhold = inMacroBlock_;
    }
    std::string text(what);
    text += " [" + std::to_string(sent.size()) + "] ";
    if (withhold)
        text += role == Role::Command ? "macro block command, contents withheld"
                                      : "macro block data, contents withheld";
    else
        text += Hex(sent);
    text += " : ";
    text += outcome;
    Line(text);
}

}  // namespace korrin
