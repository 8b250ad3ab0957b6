// What a page of the main window may ask of it: the settings session whose
// edit block it shows and edits, the macro store the button page lists and
// manages, and the two actions that reach beyond the page itself. Pages see
// nothing else of the main window.
#pragma once

#include "option/option_resource_ids.h"

namespace option {

class OptionSession;
class MacroFileStore;

// A control of key k of a page's (or the main window's) description file has
// the id 1000 + k.
constexpr int ControlId(int key) {
    return IDC_CONFIG_KEY_BASE + key;
}

class PageHost {
  public:
    virtual ~PageHost() = default;
    virtual OptionSession& Session() = 0;
    virtual MacroFileStore& Macros() = 0;
    // Shows the edit block again on every page, after a change one page made
    // that others show too.
    virtual void RefreshPages() = 0;
    // Five default profiles, shown and applied as a reset; the caller has
    // asked the user.
    virtual void RestoreDefaults() = 0;
    // config.ini names another language: every window shows it from now on.
    // The windows are made again once the caller has returned (the caller's
    // page among them).
    virtual void LanguageChosen() = 0;
};

}  // namespace option
