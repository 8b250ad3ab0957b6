// Which way the program's text meets the system: under the UTF-8 code page
// its manifest asks for (Windows 10 1903 and later), the ANSI calls take our
// UTF-8 as it is; on an older system they take the legacy code page, and
// paths reach them in a form that is plain ASCII (see ProgramFolder).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/utf8_text.h"

namespace win {

enum class TextMode { Utf8CodePage, LegacyCodePage };

TextMode CurrentTextMode();

// Checked once at each program's start: says which mode is in effect in
// the debug output, and returns that line for the program's log.
std::string TextModeLine();

// The system's legacy ANSI code page for the user's locale: what files of
// earlier versions were written in. The UTF-8 manifest does not change it.
UINT LegacyAnsiCodePage();

// Converts text of the legacy ANSI code page to UTF-8.
class SystemLegacyCodePage final : public text::LegacyCodePage {
  public:
    bool ToUtf8(std::string_view legacy, std::string& utf8) const override;
};

// The bytes of a file's text as UTF-8 (legacy text converted).
text::ReadText TextFromFileBytes(std::string_view bytes);

// `path` as the ANSI calls of this process take it: UTF-8 under the UTF-8
// code page; otherwise the path itself when plain ASCII, else its short
// (8.3) form when that is plain ASCII, else (a volume without short names)
// the legacy code page's spelling when it has one. Empty when none works.
std::string PathForAnsiCalls(const std::wstring& path);

}  // namespace win
