// The two fields of the profile dialog: the profile's name and the game
// program whose start switches to it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/settings/settings_block.h"

namespace option {

// The name field takes at most this many characters.
inline constexpr std::size_t kMaxProfileNameChars = 20;
inline constexpr std::size_t kMaxGameFileChars = sizeof(settings::ProfileRecord::GameFile) - 1;

struct ProfileFields {
    std::string name;
    std::string gameFile;
    // Back to the previous profile when the game ends; kept beside the
    // record, so the owner fills and stores it.
    bool returnAfterGame = false;
};

// What the dialog starts with: the record's texts, or empty fields.
ProfileFields ProfileFieldsOf(const settings::ProfileRecord& profile, bool empty);

// Writes both fields back. A name is cut to its limit; a game program path too
// long for its field is refused whole (false, record unchanged), since a cut
// path would name some other program.
bool StoreProfileFields(settings::ProfileRecord& profile, const ProfileFields& fields);

}  // namespace option
