#include "common/path_join.h"

#include <gtest/gtest.h>

namespace paths {
namespace {

TEST(JoinPath, ExactlyOneSeparatorBetweenFolderAndName) {
    EXPECT_EQ(JoinPath("C:\\prog", "Option.exe"), "C:\\prog\\Option.exe");
    EXPECT_EQ(JoinPath("C:\\prog\\", "Option.exe"), "C:\\prog\\Option.exe");
    EXPECT_EQ(JoinPath("C:\\prog\\", "\\Applets\\Meterix.exe"), "C:\\prog\\Applets\\Meterix.exe");
    EXPECT_EQ(JoinPath("C:\\prog\\\\", "\\\\logs"), "C:\\prog\\logs");
    EXPECT_EQ(JoinPath("C:/prog/", "/logs"), "C:/prog/logs") << "a slash is a separator too";
    EXPECT_EQ(JoinPath("C:\\prog", ""), "C:\\prog\\");
    EXPECT_EQ(JoinPath("", "config.ini"), "config.ini");
    EXPECT_EQ(JoinPath("\\", "x"), "\\x") << "the root keeps its one separator";
    EXPECT_EQ(JoinPath(L"C:\\prog\\logs", L"\\*.dmp"), L"C:\\prog\\logs\\*.dmp");
}

}  // namespace
}  // namespace paths
