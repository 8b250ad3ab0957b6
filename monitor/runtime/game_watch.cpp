#include "monitor/runtime/game_watch.h"

#include <cctype>

namespace runtime {

namespace {

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

bool SameFileNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

std::string GameFileName(std::string_view gameFile) {
    std::size_t first = 0;
    while (first < gameFile.size() && IsSpace(gameFile[first])) ++first;
    std::size_t last = gameFile.size();
    while (last > first && IsSpace(gameFile[last - 1])) --last;
    std::string_view trimmed = gameFile.substr(first, last - first);
    const std::size_t cut = trimmed.find_last_of("\\/:");
    if (cut != std::string_view::npos)
        trimmed.remove_prefix(cut + 1);
    return std::string(trimmed);
}

int MatchGameProfile(const settings::SettingsBlock& block, std::string_view exeName) {
    if (exeName.empty())
        return -1;
    for (int i = 0; i < settings::kProfileCount; ++i) {
        const auto& field = block.profiles[i].GameFile;
        const std::string name =
            GameFileName(std::string_view(field, settings::FieldLength(field)));
        if (name.empty())
            continue;
        if (SameFileNameIgnoringCase(name, exeName))
            return i;
    }
    return -1;
}

int PollGameProfile(const settings::SettingsBlock& block, ForegroundQuery& foreground,
                    std::string* exeOut) {
    std::string exe;
    if (!foreground.ForegroundExeName(exe))
        return -1;
    for (char& c : exe) c = Lower(c);
    const int match = MatchGameProfile(block, exe);
    if (match < 0 || match == block.currentProfile)
        return -1;
    if (exeOut != nullptr)
        *exeOut = exe;
    return match;
}

}  // namespace runtime
