#include "option/model/dialogs/profile_fields.h"

#include <algorithm>
#include <cstring>

namespace option {

namespace {

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

template <std::size_t N>
void StoreText(char (&field)[N], std::string_view text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), length);
}

}  // namespace

ProfileFields ProfileFieldsOf(const settings::ProfileRecord& profile, bool empty) {
    if (empty)
        return {};
    return {FieldText(profile.ProFileName), FieldText(profile.GameFile)};
}

bool StoreProfileFields(settings::ProfileRecord& profile, const ProfileFields& fields) {
    if (fields.gameFile.size() > kMaxGameFileChars ||
        fields.gameFile.find('\0') != std::string::npos)
        return false;
    const std::string_view name(fields.name);
    StoreText(profile.ProFileName, name.substr(0, std::min(name.find('\0'), kMaxProfileNameChars)));
    StoreText(profile.GameFile, fields.gameFile);
    return true;
}

}  // namespace option
