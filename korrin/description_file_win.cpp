// The device description in use: korrin-device.ini beside the library when
// there is one, else the built-in description. Read once, on first use (never
// under the loader lock), and said once in the diagnostics.
#include "korrin/description_load_win.h"
#include "korrin/hid_system_win.h"

namespace korrin {

namespace {

// An address in this module: the library, wherever it was loaded from.
const char kInThisModule = 0;

}  // namespace

const DescriptionLoad& DescriptionInUse() {
    static const DescriptionLoad load = [] {
        DescriptionLoad loaded = LoadDescriptionFrom(ModuleFolderW(&kInThisModule));
        if (loaded.source != "built-in" || !loaded.problem.empty())
            Diagnostics().Line(DescriptionLine(loaded));
        return loaded;
    }();
    return load;
}

}  // namespace korrin
