// Every string id the programs load from lan.dll is in its string table, with
// a text that is not empty.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "common/protocol.h"
#include "lan/string_ids.h"

namespace {

std::map<unsigned, std::string> StringTable() {
    std::ifstream in(std::string(MOUSE_SOURCE_DIR) + "lan/en-US.rc");
    std::stringstream text;
    text << in.rdbuf();
    std::map<unsigned, std::string> table;
    const std::regex entry(R"(^\s*(\d+)\s+"([^"]*)\"\s*$)");
    std::string line;
    while (std::getline(text, line)) {
        std::smatch m;
        if (std::regex_match(line, m, entry)) {
            const unsigned id = static_cast<unsigned>(std::stoul(m[1]));
            EXPECT_EQ(table.count(id), 0u) << "id " << id << " twice";
            table[id] = m[2];
        }
    }
    return table;
}

TEST(LanStrings, EveryIdTheProgramsUseHasAText) {
    const auto table = StringTable();
    ASSERT_FALSE(table.empty()) << "en-US.rc not found or not parsed";
    for (const lan::IdRun& run : lan::kUsedIds) {
        ASSERT_LE(run.first, run.last);
        for (unsigned id = run.first; id <= run.last; ++id) {
            const auto it = table.find(id);
            ASSERT_NE(it, table.end()) << "missing string " << id;
            EXPECT_FALSE(it->second.empty()) << "empty string " << id;
        }
    }
    // Monitor names its three tray strings in the protocol header.
    for (unsigned id : {protocol::kStrOpenConfiguration, protocol::kStrExit, protocol::kStrTrayTip})
        EXPECT_EQ(table.count(id), 1u) << id;
    EXPECT_EQ(protocol::kStrTrayTip, lan::kTrayTip);
}

}  // namespace
