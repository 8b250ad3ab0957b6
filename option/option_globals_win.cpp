#include "option/option_globals_win.h"

#include "common/win/program_folder_win.h"
#include "option/skin/skin_text_win.h"

namespace option {

OptionGlobals& Globals() {
    static OptionGlobals globals;
    return globals;
}

std::string LanString(unsigned id) {
    return win::LoadModuleString(Globals().language, id);
}

std::string LanWord(unsigned id) {
    return skin::ModuleWord(Globals().language, id);
}

std::string LanguageLocale() {
    // Until a language can be chosen, the module in use follows the user's
    // locale, and so do its capitals.
    return {};
}

std::string AccessibleNameOf(const skin::ControlRow& row, const skin::ButtonPos& pos) {
    return row.nameId != 0 ? LanString(static_cast<unsigned>(row.nameId))
                           : std::string(pos.caption);
}

}  // namespace option
