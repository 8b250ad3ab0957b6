// The virtual mouse's command line: the first instance runs it at start, a
// second instance hands it to the running one and exits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vmouse {

struct Command {
    enum class Kind { Plug, Unplug, Event, Dump, Log, ClearLog, Reset, Quit };
    Kind kind;
    std::uint32_t code = 0;  // Event
    std::string path;        // Dump, Log
};

// Splits a command line into words; double quotes group words with blanks.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Parses "/plug /event press:3 /dump C:\x.txt" and the like. Nothing on an
// unknown switch, a missing argument or a bad event (the error text says why).
std::optional<std::vector<Command>> ParseCommands(std::string_view line, std::string& error);

}  // namespace vmouse
