#include "option/option_globals_win.h"

namespace option {

OptionGlobals& Globals() {
    static OptionGlobals globals;
    return globals;
}

std::string LanString(unsigned id) {
    return Globals().language.Text(id);
}

const std::string& LanguageLocale() {
    return Globals().language.Locale();
}

}  // namespace option
