// Which of the language module's string tables the programs show: the one
// config.ini names, else the first of Windows' display languages the module
// has, matched by language where the region differs, else English.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lan {

struct Language {
    const char* locale;    // as config.ini and Windows name it, "de-DE"
    std::uint16_t langId;  // the LANGUAGE of its string table
    const char* ownName;   // the language's own name, UTF-8
    bool offeredToUsers;   // false for the pseudo-language testers pick by hand
};

// Every table the language module holds, English first.
std::span<const Language> Languages();
const Language& English();

// The table for one locale name ("de-AT", "zh_Hant_HK", case-insensitive),
// or null when the module has none of its language.
const Language* MatchLanguage(std::string_view locale);

// `setting` is config.ini's choice ("" to follow Windows); `windowsPreferred`
// the display languages in Windows' order. A named locale the module lacks
// gives English rather than Windows' choice: the user asked for something
// else than Windows.
const Language& ChooseLanguage(std::string_view setting,
                               std::span<const std::string> windowsPreferred);

}  // namespace lan
