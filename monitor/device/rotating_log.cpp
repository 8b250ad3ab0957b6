#include "monitor/device/rotating_log.h"

#include "common/text_lines.h"

#include <algorithm>

namespace device {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

RotatingLog::RotatingLog(LogFiles& files, std::string current, std::string previous,
                         std::uint64_t limitBytes)
    : files_(files),
      current_(std::move(current)),
      previous_(std::move(previous)),
      limit_(std::max<std::uint64_t>(limitBytes, kLineEnd.size() + 1)) {}

bool RotatingLog::Write(std::string_view line) {
    if (!sizeKnown_) {
        size_ = files_.Size(current_);
        sizeKnown_ = true;
    }
    std::string text(line.substr(0, static_cast<std::size_t>(limit_) - kLineEnd.size()));
    text += kLineEnd;
    if (size_ + text.size() > limit_ && !Rotate())
        return false;
    if (!files_.Append(current_, text)) {
        // What reached the file is not known: ask again next time.
        sizeKnown_ = false;
        return false;
    }
    size_ += text.size();
    return true;
}

bool RotatingLog::Rotate() {
    if (files_.Replace(current_, previous_) || files_.Remove(current_)) {
        size_ = 0;
        return true;
    }
    // Neither moved nor removed (another program holds it): the line is
    // dropped rather than the limit passed.
    sizeKnown_ = false;
    return false;
}

std::vector<std::string> RotatingLog::LastLines(std::size_t count) {
    std::vector<std::string> lines;
    text::AppendLines(files_.Read(previous_), lines);
    text::AppendLines(files_.Read(current_), lines);
    if (lines.size() > count)
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(count));
    return lines;
}

}  // namespace device
