#include "monitor/runtime/command_line.h"

#include <cctype>
#include <vector>

#include "common/settings/settings_block.h"

namespace runtime {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Arguments split at blanks; a quoted argument may hold blanks (the quotes
// are not part of it).
std::vector<std::string> SplitArguments(std::string_view line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i == line.size())
            break;
        std::string arg;
        bool quoted = false;
        for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
            if (line[i] == '"') {
                quoted = !quoted;
            } else {
                arg += line[i];
            }
        }
        args.push_back(std::move(arg));
    }
    return args;
}

// The switch's name in lower case without its '/' or '-'; empty when arg is
// no switch.
std::string SwitchName(const std::string& arg) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-'))
        return {};
    std::string name;
    for (std::size_t i = 1; i < arg.size(); ++i)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(arg[i])));
    return name;
}

// "1".."5" as the profile index 0..4; -1 for anything else.
int ProfileNumber(const std::string& text) {
    if (text.size() != 1 || text[0] < '1' || text[0] > '0' + settings::kProfileCount)
        return -1;
    return text[0] - '1';
}

MonitorCommand Bad(std::string argument) {
    MonitorCommand command;
    command.kind = CommandKind::Bad;
    command.badArgument = std::move(argument);
    return command;
}

}  // namespace

MonitorCommand ParseMonitorCommand(std::string_view commandLine) {
    return ParseMonitorArguments(SplitArguments(commandLine));
}

MonitorCommand ParseMonitorArguments(const std::vector<std::string>& args) {
    MonitorCommand command;
    if (args.empty())
        return command;
    // The Start-menu entry's "1" keeps its old meaning, whatever follows it.
    if (!args[0].empty() && args[0][0] == '1') {
        command.kind = CommandKind::OpenOption;
        return command;
    }
    const std::string name = SwitchName(args[0]);
    std::size_t used = 1;
    if (name == "?") {
        command.kind = CommandKind::Usage;
    } else if (name == "apply") {
        command.kind = CommandKind::Apply;
    } else if (name == "profile") {
        if (args.size() < 2)
            return Bad(args[0]);
        command.profileIndex = ProfileNumber(args[1]);
        if (command.profileIndex < 0)
            return Bad(args[1]);
        command.kind = CommandKind::Profile;
        used = 2;
    } else if (name == "forget-channels") {
        command.kind = CommandKind::ForgetChannels;
    } else if (name == "report") {
        if (args.size() < 2 || args[1].empty())
            return Bad(args[0]);
        command.reportPath = args[1];
        command.kind = CommandKind::Report;
        used = 2;
    } else {
        // Not ours: a normal start, which says in its log what it passed over.
        command.ignoredArgument = args[0];
        return command;
    }
    // One command per start: anything after a command is refused rather
    // than silently dropped.
    if (args.size() > used)
        return Bad(args[used]);
    return command;
}

}  // namespace runtime
