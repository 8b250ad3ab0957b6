// Which string table a setting and Windows' display languages choose.
#include "common/language_choice.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::string Chosen(std::string_view setting, std::vector<std::string> windows = {}) {
    return lan::ChooseLanguage(setting, windows).locale;
}

TEST(LanguageChoice, MatchesExactlyThenByLanguageWithRegionalRules) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"de-DE", "de-DE"}, {"DE_de", "de-DE"},   {"de-AT", "de-DE"},   {"de", "de-DE"},
        {"pt-PT", "pt-BR"}, {"es-MX", "es-ES"},   {"en-GB", "en-US"},   {"ja-jp", "ja-JP"},
        {"zh-HK", "zh-TW"}, {"zh-MO", "zh-TW"},   {"zh-Hant", "zh-TW"}, {"zh_Hant_HK", "zh-TW"},
        {"zh-SG", "zh-CN"}, {"zh-Hans", "zh-CN"}, {"zh", "zh-CN"},      {"qps-ploc", "qps-ploc"},
    };
    for (const auto& [asked, table] : cases) EXPECT_EQ(Chosen(asked), table) << asked;
}

TEST(LanguageChoice, SettingWinsOverWindowsAndUnknownNamesGiveEnglish) {
    EXPECT_EQ(Chosen("fr-CA", {"ja-JP"}), "fr-FR");
    EXPECT_EQ(Chosen("xx-YY", {"ja-JP"}), "en-US");
    EXPECT_EQ(Chosen("", {"xx-YY", "ko-KR", "de-DE"}), "ko-KR");
    EXPECT_EQ(Chosen("", {"xx-YY"}), "en-US");
    EXPECT_EQ(Chosen("", {}), "en-US");
}

TEST(LanguageChoice, TableNamesEachLanguageOnceWithItsOwnIdAndName) {
    std::set<std::string> locales;
    std::set<unsigned> ids;
    for (const lan::Language& language : lan::Languages()) {
        EXPECT_TRUE(locales.insert(language.locale).second) << language.locale;
        EXPECT_TRUE(ids.insert(language.langId).second) << language.locale;
        EXPECT_NE(std::string(language.ownName), "") << language.locale;
        EXPECT_EQ(lan::MatchLanguage(language.locale), &language);
    }
    EXPECT_EQ(locales.size(), 13u);
    EXPECT_EQ(lan::English().langId, 0x0409);
}

}  // namespace
