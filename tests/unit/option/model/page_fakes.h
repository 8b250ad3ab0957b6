// Test stand-ins for the button page model: a keyboard layout with letter
// keys that can be moved, and a string table that names each id.
#pragma once

#include <map>
#include <string>

#include "common/settings/key_codes.h"
#include "tests/support/moved_keys_layout.h"
#include "option/model/pages/button_captions.h"

namespace option::testing {

using testsupport::MovedKeysLayout;

inline MovedKeysLayout Azerty() {
    return MovedKeysLayout({{'A', 'Q'}, {'Q', 'A'}, {'Z', 'W'}, {'W', 'Z'}});
}

// "#<id>" for every id, so a caption shows which string it used.
class IdStrings final : public StringSource {
  public:
    std::string Text(unsigned id) const override { return "#" + std::to_string(id); }
};

}  // namespace option::testing
