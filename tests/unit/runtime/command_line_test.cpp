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
    const MonitorCommand profile = ParseMonitorCommand("  -Profile   \"3\" ");
    EXPECT_EQ(profile.kind, CommandKind::Profile);
    EXPECT_EQ(profile.profileIndex, 2);
    EXPECT_EQ(ParseMonitorCommand("/PROFILE 5").profileIndex, 4);
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
        {"profile 3", "profile"},
        {"/", "/"},
        {"/profiles 3", "/profiles"},
    };
    for (const Case& c : cases) {
        const MonitorCommand command = ParseMonitorCommand(c.line);
        EXPECT_EQ(command.kind, CommandKind::Bad) << c.line;
        EXPECT_EQ(command.badArgument, c.named) << c.line;
    }
}

}  // namespace
}  // namespace runtime
