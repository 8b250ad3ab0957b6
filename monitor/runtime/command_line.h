// Monitor's command line: "1" (open Option at start) as before, and the
// commands a script or a shortcut gives: /profile N, /apply, /report PATH,
// /forget-channels and /?. Switches may start with '/' or '-' and are read in any letter case. An
// argument Monitor does not know (another version's, or one a user added to
// a shortcut) starts it normally: refusing would leave the user at logon
// with an error box and no mouse software.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// The numbers travel between Monitors of different builds (message
// kMsgRunCommand): new kinds go at the end.
enum class CommandKind {
    None,            // nothing to do beyond starting
    OpenOption,      // the command line starts with "1"
    Profile,         // switch to `profileIndex` as a profile button would
    Apply,           // send every setting to the mouse again
    Usage,           // show how to call the program
    Bad,             // `badArgument` is not understood
    Report,          // write the diagnostics report to `reportPath` and end
    ForgetChannels,  // forget the channel the device library remembered, and end
};

struct MonitorCommand {
    CommandKind kind = CommandKind::None;
    int profileIndex = -1;    // 0..4 for Profile
    std::string badArgument;  // the argument of a command that is not understood
    std::string reportPath;   // Report: the file, as given (UTF-8)
    // None: the first argument, not understood and passed over (its start is
    // otherwise a normal one); empty when there was none.
    std::string ignoredArgument;
};

// What a Monitor started with this command line is asked to do. The line is
// split at blanks; a quoted argument may hold blanks.
MonitorCommand ParseMonitorCommand(std::string_view commandLine);

// The same for arguments the system has already split (the program's own
// name not among them), in UTF-8.
MonitorCommand ParseMonitorArguments(const std::vector<std::string>& args);

// How a Monitor that carries out a command ends: these are its exit codes.
enum class CommandResult : int {
    Done = 0,
    BadArgument = 1,
    MouseAbsent = 2,
};

}  // namespace runtime
