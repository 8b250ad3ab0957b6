#include "tools/VirtualMouse/event_syntax.h"

#include <gtest/gtest.h>

#include "tools/VirtualMouse/vm_command.h"

namespace vmouse {
namespace {

TEST(ParseEventSpec, NamedAndRawForms) {
    EXPECT_EQ(ParseEventSpec("0x40000001"), 0x40000001u);
    EXPECT_EQ(ParseEventSpec("0XA0000000"), 0xA0000000u);
    EXPECT_EQ(ParseEventSpec("16"), 16u);
    EXPECT_EQ(ParseEventSpec("press:3"), 0x40000003u);
    EXPECT_EQ(ParseEventSpec("Release:15"), 0x4000010Fu);
    EXPECT_EQ(ParseEventSpec("press5:1"), 0x50000001u);
    EXPECT_EQ(ParseEventSpec("release5:2"), 0x50000102u);
    EXPECT_EQ(ParseEventSpec("launch:4"), 0x60040000u);
    EXPECT_EQ(ParseEventSpec("launch-release:15"), 0x600F0100u);
    EXPECT_EQ(ParseEventSpec("cpi:8"), 0x07000008u);
    EXPECT_EQ(ParseEventSpec("rate:4"), 0x05000004u);
    EXPECT_EQ(ParseEventSpec("sensitivity:10,12"), 0xC0000C0Au);
    EXPECT_EQ(ParseEventSpec("profile:5"), 0x70000005u);
    EXPECT_EQ(ParseEventSpec("tilt:right"), 0x10000001u);
    EXPECT_EQ(ParseEventSpec("tilt:left"), 0x100000FFu);
    EXPECT_EQ(ParseEventSpec("media:32"), 0xF0000020u);
    EXPECT_EQ(ParseEventSpec("media-release:39"), 0xF0000127u);
    EXPECT_EQ(ParseEventSpec("option"), 0xA0000000u);
    for (const std::string& example : NamedEventExamples())
        EXPECT_TRUE(ParseEventSpec(example)) << example;
}

TEST(ParseEventSpec, RejectsValuesOutsideTheirRanges) {
    for (const char* bad :
         {"", "0x", "0x100000000", "12ab", "press:0", "press:16", "launch:0", "launch-release:16",
          "cpi:9", "rate:3", "sensitivity:0,5", "sensitivity:5", "sensitivity:5,21", "profile:6",
          "tilt:up", "media:31", "media:40", "jump:1", "press:"}) {
        EXPECT_FALSE(ParseEventSpec(bad)) << bad;
    }
}

TEST(ParseCommands, SwitchesArgumentsAndQuotes) {
    std::string error;
    const auto cmds = ParseCommands(
        R"(/plug /event press:2 -dump "C:\a b\state.txt" /LOG x.log /unplug /clearlog /reset /quit)",
        error);
    ASSERT_TRUE(cmds) << error;
    ASSERT_EQ(cmds->size(), 8u);
    EXPECT_EQ((*cmds)[0].kind, Command::Kind::Plug);
    EXPECT_EQ((*cmds)[1].kind, Command::Kind::Event);
    EXPECT_EQ((*cmds)[1].code, 0x40000002u);
    EXPECT_EQ((*cmds)[2].kind, Command::Kind::Dump);
    EXPECT_EQ((*cmds)[2].path, R"(C:\a b\state.txt)");
    EXPECT_EQ((*cmds)[3].kind, Command::Kind::Log);
    EXPECT_EQ((*cmds)[3].path, "x.log");
    EXPECT_EQ((*cmds)[4].kind, Command::Kind::Unplug);
    EXPECT_EQ((*cmds)[7].kind, Command::Kind::Quit);

    EXPECT_TRUE(ParseCommands("", error)->empty());
    EXPECT_FALSE(ParseCommands("/dump", error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_FALSE(ParseCommands("/event press:99", error));
    EXPECT_FALSE(ParseCommands("/fly", error));
    EXPECT_NE(error.find("/fly"), std::string::npos);
}

TEST(SplitCommandLine, BlanksAndQuotes) {
    EXPECT_EQ(SplitCommandLine("  a  \"b c\"\td "), (std::vector<std::string>{"a", "b c", "d"}));
    EXPECT_EQ(SplitCommandLine("\"\""), (std::vector<std::string>{""}));
    EXPECT_TRUE(SplitCommandLine("   ").empty());
}

}  // namespace
}  // namespace vmouse
