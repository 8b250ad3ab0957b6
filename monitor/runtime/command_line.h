// Monitor's command line: "1" (open Option at start) as before, and the
// commands a script or a shortcut gives: /profile N, /apply and /?. Switches
// may start with '/' or '-' and are read in any letter case.
#pragma once

#include <string>
#include <string_view>

namespace runtime {

enum class CommandKind {
    None,        // nothing to do beyond starting
    OpenOption,  // the command line starts with "1"
    Profile,     // switch to `profileIndex` as a profile button would
    Apply,       // send every setting to the mouse again
    Usage,       // show how to call the program
    Bad,         // `badArgument` is not understood
};

struct MonitorCommand {
    CommandKind kind = CommandKind::None;
    int profileIndex = -1;    // 0..4 for Profile
    std::string badArgument;  // the first argument that is not understood
};

// What a Monitor started with this command line is asked to do.
MonitorCommand ParseMonitorCommand(std::string_view commandLine);

// How a Monitor that carries out a command ends: these are its exit codes.
enum class CommandResult : int {
    Done = 0,
    BadArgument = 1,
    MouseAbsent = 2,
};

}  // namespace runtime
