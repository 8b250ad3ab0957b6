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

std::string AccessibleNameOf(const skin::ControlRow& row, const skin::ButtonPos& pos) {
    return row.nameId != 0 ? LanString(static_cast<unsigned>(row.nameId))
                           : std::string(pos.caption);
}

}  // namespace option
