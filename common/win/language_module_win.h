// The language module lan.dll beside the running program and the strings of
// the language the user reads, UTF-8. A string the chosen language's table
// lacks comes from the English one, so a partial translation shows English
// words rather than blanks; without the module every string is "".
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/language_choice.h"
#include "common/win/scoped_win.h"

namespace win {

// Windows' display languages, preferred first ("de-AT", "en-US").
std::vector<std::string> WindowsDisplayLanguages();

// String `id` of the table of `language` in `module`, else of the English
// table; "" when neither holds it or there is no module.
std::string LoadLanString(HMODULE module, LANGID language, UINT id);

class LanguageModule {
  public:
    // Loads lan.dll from the program folder and chooses the language from
    // `setting` (config.ini's Language, "" to follow Windows).
    void Load(std::string_view setting);
    // Chooses again, the module kept.
    void Choose(std::string_view setting);
    // Takes `module` as the language module, English shown until a choice.
    void Reset(HMODULE module) { module_.Reset(module); }
    void Unload() { module_.Reset(); }

    std::string Text(UINT id) const { return LoadLanString(module_.Get(), language_->langId, id); }
    const lan::Language& Chosen() const { return *language_; }
    const std::string& Locale() const { return locale_; }
    HMODULE Handle() const { return module_.Get(); }

  private:
    ScopedModule module_;
    const lan::Language* language_ = &lan::English();
    std::string locale_ = language_->locale;
};

}  // namespace win
