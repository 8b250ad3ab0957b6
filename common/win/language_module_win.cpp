#include "common/win/language_module_win.h"

#include "common/win/wide_text_win.h"

namespace win {
namespace {

// The strings of one table sit in blocks of sixteen, block n + 1 holding ids
// 16n..16n+15, each entry its length in UTF-16 units and the units (no NUL).
constexpr UINT kIdsPerBlock = 16;

BOOL CALLBACK NoteLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD found, LONG_PTR wanted) {
    auto* match = reinterpret_cast<std::pair<WORD, bool>*>(wanted);
    if (found == match->first)
        match->second = true;
    return !match->second;
}

// Windows would hand over a block of another language when the asked one has
// none, so the asked table's presence is checked first.
bool TableHasBlock(HMODULE module, LPCWSTR block, LANGID language) {
    std::pair<WORD, bool> match{language, false};
    EnumResourceLanguagesW(module, MAKEINTRESOURCEW(6), block, NoteLanguage,
                           reinterpret_cast<LONG_PTR>(&match));
    return match.second;
}

std::wstring TableString(HMODULE module, LANGID language, UINT id) {
    const LPCWSTR block = MAKEINTRESOURCEW(id / kIdsPerBlock + 1);
    if (!TableHasBlock(module, block, language))
        return {};
    HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(6), block, language);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* entry =
        static_cast<const WCHAR*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (entry == nullptr)
        return {};
    const DWORD units = SizeofResource(module, found) / sizeof(WCHAR);
    const WCHAR* end = entry + units;
    for (UINT n = 0; n < id % kIdsPerBlock; ++n) {
        if (entry >= end)
            return {};
        entry += 1 + *entry;
    }
    if (entry >= end || entry + 1 + *entry > end)
        return {};
    return std::wstring(entry + 1, *entry);
}

}  // namespace

std::vector<std::string> WindowsDisplayLanguages() {
    ULONG count = 0;
    ULONG units = 0;
    std::vector<std::string> names;
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &units) || units == 0) {
        wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
        if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                             LOCALE_NAME_MAX_LENGTH, 0) > 0)
            names.push_back(Narrow(name, CP_UTF8));
        return names;
    }
    std::wstring list(units, L'\0');
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, list.data(), &units))
        return names;
    // NUL-separated names, ended by an empty one.
    for (const wchar_t* name = list.c_str(); *name != L'\0'; name += wcslen(name) + 1)
        names.push_back(Narrow(name, CP_UTF8));
    return names;
}

std::string LoadLanString(HMODULE module, LANGID language, UINT id) {
    if (module == nullptr)
        return {};
    std::wstring text = TableString(module, language, id);
    if (text.empty() && language != lan::English().langId)
        text = TableString(module, lan::English().langId, id);
    return Narrow(text.c_str(), CP_UTF8);
}

void LanguageModule::Load(std::string_view setting) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.resize(path.find_last_of(L"\\/") + 1);
    module_.Reset(LoadLibraryW((path + L"lan.dll").c_str()));
    Choose(setting);
}

void LanguageModule::Choose(std::string_view setting) {
    language_ = &lan::ChooseLanguage(setting, WindowsDisplayLanguages());
    locale_ = language_->locale;
}

}  // namespace win
