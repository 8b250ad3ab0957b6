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
    if (spec.ids.empty())
        text += " none";
    for (std::uint8_t id : spec.ids) {
        text.push_back(' ');
        text.append(std::to_string(id));
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

void CaptureLog::Line(std::string_view text) {
    const std::uint64_t ms = nowMs_() - startMs_;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%7llu.%03u ", static_cast<unsigned long long>(ms / 1000),
                  static_cast<unsigned>(ms % 1000));
    std::string line = stamp;
    line.append(text);
    std::lock_guard<std::mutex> guard(lock_);
    sink_.Write(line);
}

bool CaptureLog::RawWindowOpen() const {
    return nowMs_() - startMs_ < kRawCaptureMs;
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

}  // namespace korrin
