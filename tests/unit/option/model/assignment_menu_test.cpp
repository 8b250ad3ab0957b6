#include "option/model/pages/assignment_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace option {
namespace {

using Kind = MenuItem::Kind;

// One line per item: "S<text>" submenu, "-" separator, "<command>:<text>";
// a checked item ends in " *", a checkable unchecked one in " o".
std::vector<std::string> Lines(const std::vector<MenuItem>& items) {
    std::vector<std::string> lines;
    for (const MenuItem& item : items) {
        const std::string text = item.textId != 0 ? std::to_string(item.textId) : item.text;
        if (item.kind == Kind::Submenu)
            lines.push_back("S" + text);
        else if (item.kind == Kind::Separator)
            lines.push_back("-");
        else
            lines.push_back(std::to_string(item.command) + ":" + text +
                            (item.checkable ? (item.checked ? " *" : " o") : ""));
    }
    return lines;
}

settings::ButtonAssignment Entry(std::uint8_t action, const char* macroName = "") {
    settings::ButtonAssignment entry{};
    entry.actionCode = action;
    std::strncpy(entry.macroName, macroName, sizeof entry.macroName - 1);
    return entry;
}

TEST(AssignmentMenu, TopMenuAndSubmenusInOrder) {
    const AssignmentMenu menu = BuildAssignmentMenu(0, Entry(1), {});
    EXPECT_EQ(Lines(menu.items),
              (std::vector<std::string>{"S1021", "S1031", "S1017", "S1070", "S1040", "1001:1005",
                                        "1002:1006", "1003:1007", "1007:1011", "1008:1012",
                                        "1004:1008", "1093:1093", "1021:1027", "1005:1009",
                                        "1006:1010", "1017:1094", "1098:1095"}));
    EXPECT_EQ(Lines(menu.items[0].items), (std::vector<std::string>{"1099:1067"}));
    EXPECT_EQ(Lines(menu.items[1].items),
              (std::vector<std::string>{"1025:1032", "1026:1033", "1027:1034", "1028:1035",
                                        "1029:1036", "1030:1037", "1031:1038", "1032:1039"}));
    EXPECT_EQ(Lines(menu.items[2].items),
              (std::vector<std::string>{"1013:1018", "1014:1019", "1015:1020"}));
    EXPECT_EQ(Lines(menu.items[3].items),
              (std::vector<std::string>{"1050:1071", "1051:1072", "1052:1073", "1053:1074",
                                        "1054:1075", "1055:1076", "1056:1077", "1057:1078",
                                        "1059:1080", "1060:1081"}));
    EXPECT_EQ(Lines(menu.items[4].items),
              (std::vector<std::string>{"1039:1047", "1041:1049", "1061:1082", "1062:1083",
                                        "1064:1085", "1065:1086", "1066:1087", "1067:1088"}));

    EXPECT_EQ(menu.width, kMenuWidth);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(menu.items[i].width, i == 3 ? 129 : 133) << menu.items[i].textId;
}

TEST(AssignmentMenu, ProfileButtonsGetTheDpiStepsInsteadOfAShortcut) {
    for (int entry : {13, 14}) {
        const std::vector<std::string> lines =
            Lines(BuildAssignmentMenu(entry, Entry(1), {}).items);
        const std::vector<std::string> tail(lines.end() - 6, lines.end());
        EXPECT_EQ(tail, (std::vector<std::string>{"1021:1027", "1006:1010", "1009:1013",
                                                  "1010:1014", "1017:1094", "1098:1095"}))
            << entry;
    }
    for (int entry : {12, 15}) {
        const auto lines = Lines(BuildAssignmentMenu(entry, Entry(1), {}).items);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "1005:1009"), 1) << entry;
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "1009:1013"), 0) << entry;
    }
}

TEST(AssignmentMenu, MacroItemsFollowTheStoreAndOnlyTheHeldMacroIsChecked) {
    const std::vector<std::string> store = {"  Reload ", "combo", "a name longer than the field"};
    EXPECT_EQ(Lines(BuildAssignmentMenu(0, Entry(16, "COMBO"), store).items[0].items),
              (std::vector<std::string>{"1099:1067", "-", "1100:Reload o", "1101:combo *",
                                        "1102:a name longer than the field o"}));
    // The same name on a button that does not run a macro checks nothing.
    EXPECT_EQ(Lines(BuildAssignmentMenu(0, Entry(5, "combo"), store).items[0].items)[3],
              "1101:combo o");
    // A name cut to the field when it was assigned still finds its macro.
    const auto cut =
        Lines(BuildAssignmentMenu(0, Entry(16, "a name longer than "), store).items[0].items);
    EXPECT_EQ(cut[4], "1102:a name longer than the field *");
    EXPECT_EQ(cut[3], "1101:combo o");
}

}  // namespace
}  // namespace option
