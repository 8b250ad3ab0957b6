#include "common/settings/ini_engine.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/unit/settings_files/ini_cases.h"
#include "tests/unit/settings_files/memory_store.h"

namespace settings {
namespace {

TEST(IniEngine, SharedReadCasesBehaveLikeTheSystem) {
    DiskIniFileSystem engine;
    const auto folder = ini_cases::FreshFolder("a-native-read");
    int i = 0;
    for (const auto& c : ini_cases::kReadCases) ini_cases::RunReadCase(engine, folder, c, i++);
    ini_cases::RunLongValueCase(engine, folder);
}

TEST(IniEngine, SharedWriteCasesBehaveLikeTheSystem) {
    DiskIniFileSystem engine;
    const auto folder = ini_cases::FreshFolder("a-native-write");
    int i = 0;
    for (const auto& c : ini_cases::kWriteCases) ini_cases::RunWriteCase(engine, folder, c, i++);
}

TEST(IniEngine, StructEncodingRoundTripsAnyBytes) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> byte(0, 255);
    for (std::size_t size : {std::size_t{1}, std::size_t{7}, std::size_t{348}, std::size_t{460}}) {
        std::vector<unsigned char> data(size);
        for (auto& b : data) b = static_cast<unsigned char>(byte(rng));
        const std::string text = EncodeStruct(data.data(), size);
        ASSERT_EQ(text.size(), 2 * size + 2);
        IniDocument doc;
        doc.SetString("S", "v", text.c_str());
        std::vector<unsigned char> back(size, 0);
        ASSERT_TRUE(doc.GetStruct("S", "v", back.data(), size));
        EXPECT_EQ(back, data);
        // One byte more than was stored finds too few digits.
        std::vector<unsigned char> wrong(size + 1, 0);
        EXPECT_FALSE(doc.GetStruct("S", "v", wrong.data(), size + 1));
    }
    unsigned char known[3] = {0x01, 0x02, 0xFF};
    EXPECT_EQ(EncodeStruct(known, 3), "0102FF02");
}

TEST(IniEngine, GarbageNeverCrashesAndKeepsLaterKeysReadable) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string junk(static_cast<std::size_t>(round * 13 % 900), '\0');
        for (char& c : junk) c = static_cast<char>(byte(rng));
        IniDocument doc = IniDocument::Parse(junk + "\r\n[Known]\r\nvalue=42\r\n");
        EXPECT_EQ(doc.GetInt("Known", "value", -1), 42) << round;
        unsigned char buf[16];
        doc.GetStruct("Known", "value", buf, sizeof buf);
        // The rewritten text parses to the same value again.
        EXPECT_EQ(IniDocument::Parse(doc.Serialize()).GetInt("Known", "value", -1), 42);
    }
}

TEST(RewriteIniFile, CrashAtAnyPointLeavesTheOldOrTheNewFile) {
    const std::string path = "C:\\p\\file.ini";
    const std::string old = "[S]\r\na=1\r\nb=2\r\n";
    const std::string fresh = "[S]\r\na=7\r\nb=8\r\nc=9\r\n";
    bool sawOld = false;
    for (int crash = 0; crash < 6; ++crash) {
        testing_files::MemoryStore store;
        store.files[path] = old;
        store.crashAfter = crash;
        EngineIniFileSystem engine(store);
        const bool ok = RewriteIniFile(engine, path, [](IniFile& f) {
            return f.WriteString("S", "a", "7") && f.WriteString("S", "b", "8") &&
                   f.WriteString("S", "c", "9");
        });
        const std::string now = store.files[path];
        EXPECT_TRUE(now == old || now == fresh) << crash << ": " << now;
        EXPECT_EQ(ok, now == fresh);
        sawOld = sawOld || now == old;
    }
    EXPECT_TRUE(sawOld);
}

TEST(RewriteIniFile, FailedWriteCallbackKeepsTheOriginalAndRemovesTheCopy) {
    testing_files::MemoryStore store;
    store.files["C:\\p\\f.ini"] = "[S]\r\na=1\r\n";
    EngineIniFileSystem engine(store);
    EXPECT_FALSE(RewriteIniFile(engine, "C:\\p\\f.ini", [](IniFile& f) {
        f.WriteString("S", "a", "2");
        return false;
    }));
    EXPECT_EQ(store.files.size(), 1u);
    EXPECT_EQ(store.files["C:\\p\\f.ini"], "[S]\r\na=1\r\n");
}

TEST(RewriteIniFile, ReadOnlyFolderReportsFailure) {
    testing_files::MemoryStore store;
    store.files["C:\\p\\f.ini"] = "[S]\r\na=1\r\n";
    store.readOnlyFolders.push_back("C:\\p\\");
    EngineIniFileSystem engine(store);
    EXPECT_FALSE(RewriteIniFile(engine, "C:\\p\\f.ini",
                                [](IniFile& f) { return f.WriteString("S", "a", "2"); }));
    EXPECT_EQ(store.files["C:\\p\\f.ini"], "[S]\r\na=1\r\n");
}

}  // namespace
}  // namespace settings
