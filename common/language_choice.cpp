#include "common/language_choice.h"

#include <algorithm>
#include <array>
#include <vector>

namespace lan {
namespace {

constexpr Language kLanguages[] = {
    {"en-US", 0x0409, "English", true},
    {"de-DE", 0x0407, "Deutsch", true},
    {"fr-FR", 0x040C, "Français", true},
    {"es-ES", 0x0C0A, "Español", true},
    {"pt-BR", 0x0416, "Português (Brasil)", true},
    {"pl-PL", 0x0415, "Polski", true},
    {"ru-RU", 0x0419, "Русский", true},
    {"tr-TR", 0x041F, "Türkçe", true},
    {"zh-CN", 0x0804, "中文(简体)", true},
    {"zh-TW", 0x0404, "中文(繁體)", true},
    {"ja-JP", 0x0411, "日本語", true},
    {"ko-KR", 0x0412, "한국어", true},
    {"qps-ploc", 0x0501, "Pseudo (qps-ploc)", false},
};

std::string Folded(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '_')
            c = '-';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::vector<std::string> Subtags(const std::string& folded) {
    std::vector<std::string> tags;
    std::size_t start = 0;
    while (start <= folded.size()) {
        const std::size_t dash = std::min(folded.find('-', start), folded.size());
        tags.push_back(folded.substr(start, dash - start));
        start = dash + 1;
    }
    return tags;
}

const Language* ByLocale(std::string_view locale) {
    for (const Language& language : kLanguages) {
        if (Folded(language.locale) == locale)
            return &language;
    }
    return nullptr;
}

bool Holds(const std::vector<std::string>& tags, std::initializer_list<std::string_view> any) {
    return std::any_of(tags.begin() + 1, tags.end(), [&](const std::string& tag) {
        return std::find(any.begin(), any.end(), tag) != any.end();
    });
}

// Chinese is chosen by script, which the script subtag names or the region
// implies: Hong Kong, Macao and Taiwan write traditional characters.
const Language* Chinese(const std::vector<std::string>& tags) {
    if (Holds(tags, {"hant", "tw", "hk", "mo"}))
        return ByLocale("zh-tw");
    return ByLocale("zh-cn");
}

}  // namespace

std::span<const Language> Languages() {
    return kLanguages;
}

const Language& English() {
    return kLanguages[0];
}

const Language* MatchLanguage(std::string_view locale) {
    const std::string folded = Folded(locale);
    if (folded.empty())
        return nullptr;
    if (const Language* exact = ByLocale(folded))
        return exact;
    const std::vector<std::string> tags = Subtags(folded);
    if (tags[0] == "zh")
        return Chinese(tags);
    // One table per language otherwise: any region of it reads that table
    // (de-AT German, pt-PT Brazilian Portuguese, es-MX Spanish).
    for (const Language& language : kLanguages) {
        if (Subtags(Folded(language.locale))[0] == tags[0])
            return &language;
    }
    return nullptr;
}

const Language& ChooseLanguage(std::string_view setting,
                               std::span<const std::string> windowsPreferred) {
    if (!setting.empty()) {
        const Language* chosen = MatchLanguage(setting);
        return chosen != nullptr ? *chosen : English();
    }
    for (const std::string& locale : windowsPreferred) {
        if (const Language* chosen = MatchLanguage(locale))
            return *chosen;
    }
    return English();
}

}  // namespace lan
