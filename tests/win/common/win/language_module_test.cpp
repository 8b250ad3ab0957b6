// The loader over the built language module: each language the programs can
// choose reads its own table, so a wrong language id would show English.
#include "common/win/language_module_win.h"

#include <gtest/gtest.h>

#include <string>

#include "common/win/scoped_win.h"
#include "lan/string_ids.h"
#include "tests/support/program_folder_win.h"

namespace {

TEST(LanguageModule, EveryLanguageReadsItsOwnTableAndMissingIdsAreEmpty) {
    const std::string folder = testsupport::DistFolder();
    ASSERT_FALSE(folder.empty()) << "MOUSE_DIST names the program folder";
    win::ScopedModule module(LoadLibraryA((folder + "lan.dll").c_str()));
    ASSERT_NE(module.Get(), nullptr);
    const LANGID english = lan::English().langId;
    const std::string englishText =
        win::LoadLanString(module.Get(), english, lan::kOpenConfiguration);
    ASSERT_NE(englishText, "");
    for (const lan::Language& language : lan::Languages()) {
        if (language.langId == english)
            continue;
        const std::string text =
            win::LoadLanString(module.Get(), language.langId, lan::kOpenConfiguration);
        EXPECT_NE(text, "") << language.locale;
        EXPECT_NE(text, englishText) << language.locale << " shows the English table";
    }
    // A language the module has no table of falls back to English.
    EXPECT_EQ(win::LoadLanString(module.Get(), 0x0410, lan::kOpenConfiguration), englishText);
    EXPECT_EQ(win::LoadLanString(module.Get(), english, 9999), "");
    EXPECT_EQ(win::LoadLanString(nullptr, english, lan::kOpenConfiguration), "");
}

}  // namespace
