// Our text is UTF-8 inside the programs. Files written by earlier versions
// hold the system's legacy ANSI code page instead; these pieces decide which
// one a file's bytes are in and bring legacy text over, and cut UTF-8 to a
// fixed field without splitting a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing past U+10FFFF). Pure ASCII is UTF-8.
bool IsUtf8(std::string_view bytes);

// Turns text of the system's legacy code page into UTF-8. The system's
// converter is a thin adapter; tests bring their own.
class LegacyCodePage {
  public:
    virtual ~LegacyCodePage() = default;
    // False when the text cannot be converted (`utf8` is then unspecified).
    virtual bool ToUtf8(std::string_view legacy, std::string& utf8) const = 0;
};

enum class TextSource { Utf8, Legacy };

struct ReadText {
    std::string utf8;
    TextSource source = TextSource::Utf8;
};

// Text read from a file, as UTF-8: valid UTF-8 passes through unchanged,
// anything else is taken as legacy text and converted. When even that fails
// the bytes are kept as they are, so that nothing read is lost.
ReadText TextFromFile(std::string_view bytes, const LegacyCodePage& legacy);

// The longest prefix of `text` of at most `maxBytes` bytes that ends on a
// character boundary: a multi-byte sequence is kept whole or not at all.
std::size_t Utf8FitLength(std::string_view text, std::size_t maxBytes);

}  // namespace text
