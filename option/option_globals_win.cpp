#include "option/option_globals_win.h"

#include "common/win/program_folder_win.h"

namespace option {

OptionGlobals& Globals() {
    static OptionGlobals globals;
    return globals;
}

std::string LanString(unsigned id) {
    return win::LoadModuleString(Globals().language, id);
}

std::string AccessibleNameOf(const skin::ControlRow& row, const skin::ButtonPos& pos) {
    return row.nameId != 0 ? LanString(static_cast<unsigned>(row.nameId))
                           : std::string(pos.caption);
}

}  // namespace option
