#include "monitor/runtime/command_line.h"

#include <gtest/gtest.h>

namespace runtime {
namespace {

TEST(MonitorCommandLine, CommandsInAnyCaseWithEitherPrefix) {
    EXPECT_EQ(ParseMonitorCommand("").kind, CommandKind::None);
    EXPECT_EQ(ParseMonitorCommand("  ").kind, CommandKind::None);
    EXPECT_EQ(ParseMonitorCommand("1").kind, CommandKind::OpenOption);
    EXPECT_EQ(ParseMonitorCommand("/?").kind, CommandKind::Usage);
    EXPECT_EQ(ParseMonitorCommand("-APPLY").kind, CommandKind::Apply);
    EXPECT_EQ(ParseMonitorCommand("/Forget-Channels").kind, CommandKind::ForgetChannels);
    const MonitorCommand profile = ParseMonitorCommand("  -Profile   \"3\" ");
    EXPECT_EQ(profile.kind, CommandKind::Profile);
    EXPECT_EQ(profile.profileIndex, 2);
    EXPECT_EQ(ParseMonitorCommand("/PROFILE 5").profileIndex, 4);
    // The path as the system split it: blanks and letters beyond ASCII kept.
    const MonitorCommand report =
        ParseMonitorArguments({"-Report", "C:\\Users\\Zo\xc3\xab\\My report.txt"});
    EXPECT_EQ(report.kind, CommandKind::Report);
    EXPECT_EQ(report.reportPath, "C:\\Users\\Zo\xc3\xab\\My report.txt");
}

// A shortcut or Run entry carrying an argument of another version, or one the
// user added, still starts the mouse software; the argument is named for
// the log.
TEST(MonitorCommandLine, UnknownFirstArgumentIsANormalStart) {
    for (const char* line : {"/startup", "profile 3", "/", "/profiles 3", "--minimized x"}) {
        const MonitorCommand command = ParseMonitorCommand(line);
        EXPECT_EQ(command.kind, CommandKind::None) << line;
        EXPECT_EQ(command.ignoredArgument,
                  std::string_view(line).substr(0, std::string_view(line).find(' ')))
            << line;
    }
    EXPECT_EQ(ParseMonitorCommand("/apply").ignoredArgument, "");
}

TEST(MonitorCommandLine, BadArgumentsAreNamed) {
    struct Case {
        const char* line;
        const char* named;
    };
    const Case cases[] = {
        {"/profile 0", "0"},
        {"/profile 6", "6"},
        {"/profile 33", "33"},
        {"/profile", "/profile"},
        {"/apply now", "now"},
        {"/report", "/report"},
        {"/report a.txt b.txt", "b.txt"},
    };
    for (const Case& c : cases) {
        const MonitorCommand command = ParseMonitorCommand(c.line);
        EXPECT_EQ(command.kind, CommandKind::Bad) << c.line;
        EXPECT_EQ(command.badArgument, c.named) << c.line;
    }
}

}  // namespace
}  // namespace runtime
