#include "common/win/text_mode_win.h"

#include <algorithm>

#include "common/text_format.h"
#include "common/trace_points.h"
#include "common/win/wide_text_win.h"

namespace win {

namespace {

bool Ascii(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

}  // namespace

TextMode CurrentTextMode() {
    return GetACP() == CP_UTF8 ? TextMode::Utf8CodePage : TextMode::LegacyCodePage;
}

std::string TextModeLine() {
    const std::string line = CurrentTextMode() == TextMode::Utf8CodePage
                                 ? std::string(trace::kTextModeUtf8)
                                 : text::Format(trace::kTextModeLegacy, GetACP());
    OutputDebugStringA(line.c_str());
    return line.substr(0, line.size() - 1);  // without its line end
}

UINT LegacyAnsiCodePage() {
    DWORD codePage = 0;
    const int got = GetLocaleInfoEx(
        LOCALE_NAME_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
        reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(wchar_t));
    // A locale without an ANSI code page (Unicode-only) answers 0 (CP_ACP),
    // which would be UTF-8 again under the manifest: 1252 is the likeliest.
    if (got == 0 || codePage == CP_ACP || codePage == CP_UTF8)
        return 1252;
    return codePage;
}

bool SystemLegacyCodePage::ToUtf8(std::string_view legacy, std::string& utf8) const {
    if (legacy.empty()) {
        utf8.clear();
        return true;
    }
    const std::wstring wide = Widen(legacy, LegacyAnsiCodePage());
    if (wide.empty())
        return false;
    utf8 = Narrow(wide.c_str(), CP_UTF8);
    return !utf8.empty();
}

text::ReadText TextFromFileBytes(std::string_view bytes) {
    return text::TextFromFile(bytes, SystemLegacyCodePage());
}

std::string PathForAnsiCalls(const std::wstring& path) {
    if (CurrentTextMode() == TextMode::Utf8CodePage)
        return Utf8(path.c_str());
    if (Ascii(path))
        return Narrow(path.c_str(), CP_ACP);
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    std::wstring shortPath(size, L'\0');
    const DWORD length = size == 0 ? 0 : GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (length > 0 && length < size) {
        shortPath.resize(length);
        if (Ascii(shortPath))
            return Narrow(shortPath.c_str(), CP_ACP);
    }
    // A volume without short names: the code page's own form when it can
    // spell the path, which the ANSI calls open though it is not UTF-8.
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr,
                                          0, nullptr, &lossy);
    return bytes > 1 && !lossy ? Narrow(path.c_str(), CP_ACP) : std::string();
}

}  // namespace win
