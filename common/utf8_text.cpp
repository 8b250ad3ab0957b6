#include "common/utf8_text.h"

namespace text {

namespace {

bool Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed sequence starting at bytes[at], or 0.
std::size_t SequenceLength(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // overlong below U+0800
        if (lead == 0xED)
            high = 0x9F;  // UTF-16 surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;  // overlong below U+10000
        if (lead == 0xF4)
            high = 0x8F;  // past U+10FFFF
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    if (second < low || second > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!Continuation(static_cast<unsigned char>(bytes[at + i])))
            return 0;
    }
    return length;
}

}  // namespace

bool IsUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = SequenceLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

ReadText TextFromFile(std::string_view bytes, const LegacyCodePage& legacy) {
    if (IsUtf8(bytes))
        return {std::string(bytes), TextSource::Utf8};
    ReadText read{{}, TextSource::Legacy};
    if (!legacy.ToUtf8(bytes, read.utf8))
        read.utf8.assign(bytes);
    return read;
}

std::size_t Utf8FitLength(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t cut = maxBytes;
    // Step back over the continuation bytes of the character the limit falls in.
    while (cut > 0 && Continuation(static_cast<unsigned char>(text[cut]))) --cut;
    return cut;
}

}  // namespace text
