#include "tools/VirtualMouse/vm_command.h"

#include <cctype>

#include "tools/VirtualMouse/event_syntax.h"

namespace vmouse {

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

std::optional<std::vector<Command>> ParseCommands(std::string_view line, std::string& error) {
    const auto words = SplitCommandLine(line);
    std::vector<Command> commands;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string sw = words[i];
        for (char& c : sw) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!sw.empty() && sw[0] == '-')
            sw[0] = '/';
        auto argument = [&](std::string& out) {
            if (i + 1 >= words.size()) {
                error = "missing argument after " + words[i];
                return false;
            }
            out = words[++i];
            return true;
        };
        Command cmd{Command::Kind::Plug, 0, {}};
        if (sw == "/plug") {
            cmd.kind = Command::Kind::Plug;
        } else if (sw == "/unplug") {
            cmd.kind = Command::Kind::Unplug;
        } else if (sw == "/clearlog") {
            cmd.kind = Command::Kind::ClearLog;
        } else if (sw == "/reset") {
            cmd.kind = Command::Kind::Reset;
        } else if (sw == "/quit") {
            cmd.kind = Command::Kind::Quit;
        } else if (sw == "/dump" || sw == "/log") {
            cmd.kind = sw == "/dump" ? Command::Kind::Dump : Command::Kind::Log;
            if (!argument(cmd.path))
                return std::nullopt;
        } else if (sw == "/event") {
            std::string spec;
            if (!argument(spec))
                return std::nullopt;
            const auto code = ParseEventSpec(spec);
            if (!code) {
                error = "bad event: " + spec;
                return std::nullopt;
            }
            cmd.kind = Command::Kind::Event;
            cmd.code = *code;
        } else {
            error = "unknown switch: " + words[i];
            return std::nullopt;
        }
        commands.push_back(cmd);
    }
    return commands;
}

}  // namespace vmouse
