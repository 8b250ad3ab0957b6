// The way a program's text meets the system when the UTF-8 code page did not
// take effect (this test program has no manifest asking for it): paths of any
// script still open through the ANSI calls, and legacy file text converts.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"
#include "common/win/text_mode_win.h"
#include "common/win/wide_text_win.h"

namespace {

TEST(LegacyTextMode, AFolderOfAnyScriptOpensThroughTheAnsiCalls) {
    ASSERT_EQ(win::CurrentTextMode(), win::TextMode::LegacyCodePage) << GetACP();
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"mouse-text-" +
                                std::to_wstring(GetCurrentProcessId()) +
                                L" Zo\u00EB \u00DCnal \u5F20\u4F1F \u2713";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::string ansi = win::PathForAnsiCalls(folder);
    ASSERT_FALSE(ansi.empty());
    for (char c : ansi) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << ansi;
    const std::string probe = ansi + "\\probe.txt";
    {
        const win::ScopedFileHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr,
                                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(file.Valid()) << probe;
    }
    const std::wstring written = folder + L"\\probe.txt";
    EXPECT_NE(GetFileAttributesW(written.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(written.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(LegacyTextMode, TextOfTheLegacyCodePageReadsAsUtf8) {
    const UINT codePage = win::LegacyAnsiCodePage();
    if (codePage != 1252)
        GTEST_SKIP() << "the user locale's code page is " << codePage;
    const text::ReadText read = win::TextFromFileBytes("Zo\xEB \x80");
    EXPECT_EQ(read.source, text::TextSource::Legacy);
    EXPECT_EQ(read.utf8, "Zo\xC3\xAB \xE2\x82\xAC");  // 0x80 is the euro sign there
}

}  // namespace
