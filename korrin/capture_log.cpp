#include "korrin/capture_log.h"

#include <cstdio>

namespace korrin {

namespace {

std::string Hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
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
    // Room is kept for the closing line, so the file never passes its limit.
    constexpr std::size_t kClosingRoom = 128;
    const std::size_t size = line.size() + 2;  // with its line end
    if (bytes_ + size + kClosingRoom > kCaptureMaxBytes) {
        EndLocked("capture stopped: it reached its limit of 2 MB");
        return;
    }
    bytes_ += size;
    sink_.WriteCapture(line);
}

void CaptureLog::Line(std::string_view text) {
    const std::uint64_t ms = nowMs_() - startMs_;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%7llu.%03u ", static_cast<unsigned long long>(ms / 1000),
                  static_cast<unsigned>(ms % 1000));
    std::string line = stamp;
    line.append(text);
    std::lock_guard<std::mutex> guard(lock_);
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
    std::string text(what);
    text += " [" + std::to_string(bytes.size()) + "] " + Hex(bytes);
    if (!outcome.empty()) {
        text += " : ";
        text += outcome;
    }
    Line(text);
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
