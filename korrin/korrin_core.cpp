#include "korrin/korrin_core.h"

#include <algorithm>
#include <cctype>

#include "korrin/device_description.h"

namespace korrin {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Finds "<key>XXXX" (case-insensitive) with exactly four hex digits; -1 if absent.
long FindId(std::string_view text, std::string_view key) {
    for (std::size_t at = 0; at + key.size() + 4 <= text.size(); ++at) {
        bool match = true;
        for (std::size_t i = 0; i < key.size() && match; ++i) match = Lower(text[at + i]) == key[i];
        if (!match)
            continue;
        // The key must start a field, not end a longer word.
        if (at > 0 && std::isalnum(static_cast<unsigned char>(text[at - 1])))
            continue;
        long value = 0;
        std::size_t p = at + key.size();
        for (int i = 0; i < 4; ++i) {
            const int h = HexValue(text[p + i]);
            if (h < 0) {
                match = false;
                break;
            }
            value = value * 16 + h;
        }
        if (!match)
            continue;
        if (p + 4 < text.size() && HexValue(text[p + 4]) >= 0)
            continue;
        return value;
    }
    return -1;
}

}  // namespace

bool MatchesDevice(std::string_view path, std::uint16_t vendorId, std::uint16_t productId) {
    return FindId(path, "vid_") == vendorId && FindId(path, "pid_") == productId;
}

bool NamesSomeDevice(std::string_view path) {
    return FindId(path, "vid_") >= 0;
}

std::vector<std::uint8_t> FrameReport(std::uint8_t reportId, std::span<const std::uint8_t> payload,
                                      std::size_t reportLength) {
    if (reportLength < payload.size() + 1)
        return {};
    std::vector<std::uint8_t> out(reportLength, 0);
    out[0] = reportId;
    std::copy(payload.begin(), payload.end(), out.begin() + 1);
    return out;
}

std::optional<std::uint32_t> DecodeEventReport(std::span<const std::uint8_t> report) {
    return DecodeEvent(EventFormat{}, report);
}

std::vector<std::uint8_t> EncodeEventReport(std::uint32_t code, std::size_t reportLength) {
    return EncodeEvent(EventFormat{}, code, reportLength);
}

EventParams EventMessageParams(std::uint32_t code) {
    return {static_cast<std::uintptr_t>(code >> 16), static_cast<std::intptr_t>(code & 0xFFFF)};
}

void PresenceCheck::Reset(bool present) {
    present_ = present;
    misses_ = 0;
}

std::optional<int> PresenceCheck::Update(bool seen, bool certain) {
    if (seen) {
        misses_ = 0;
        if (present_)
            return std::nullopt;
        present_ = true;
        return 1;
    }
    if (!present_)
        return std::nullopt;
    if (++misses_ < kMissesForRemoval && !certain)
        return std::nullopt;
    present_ = false;
    misses_ = 0;
    return 0;
}

void Backoff::Failed(std::uint64_t nowMs) {
    nextMs_ = nowMs + delayMs_;
    delayMs_ = std::min(delayMs_ * 2, kLongestMs);
}

}  // namespace korrin
