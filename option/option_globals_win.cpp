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

}  // namespace option
