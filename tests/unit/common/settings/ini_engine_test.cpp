#include "common/settings/ini_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/unit/common/settings/ini_cases.h"
#include "tests/unit/common/settings/memory_store.h"
#include "tests/unit/common/settings/rewrite_lock_doubles.h"

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
    // Upper-case digits and the 8-bit sum, in the four-byte rounds and the rest.
    unsigned char known[5] = {0x01, 0x02, 0xFF, 0xA9, 0x5E};
    EXPECT_EQ(EncodeStruct(known, 5), "0102FFA95E09");
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

// A config.ini in memory whose store and rewrite lock log every step.
class RewriteUnderLock : public ::testing::Test {
  protected:
    RewriteUnderLock() { store.files[path] = "[Setting]\r\nDevice=0\r\n"; }

    const std::string path = "C:\\p\\config.ini";
    testing_files::MemoryStore store;
    std::vector<std::string> log;
    testing_files::LoggingStore logged{store, log};
    testing_files::RecordingRewriteLock lock{log};
};

// Another process rewrites the file while this writer waits for the lock:
// its key must be in what this writer puts in place, so the file may be read
// only once the lock is held, and replaced before it is given back.
TEST_F(RewriteUnderLock, ReadsReplacesAndCleansUpOnlyWhileHoldingTheLock) {
    lock.whileWaiting = [&](const std::string&) {
        store.files[path] = "[Setting]\r\nDevice=0\r\nCurrentProfile=3\r\n";
    };
    EngineIniFileSystem engine(logged, lock);
    ASSERT_TRUE(RewriteIniFile(engine, path,
                               [](IniFile& f) { return f.WriteString("Setting", "Device", "1"); }));
    EXPECT_EQ(store.files[path], "[Setting]\r\nDevice=1\r\nCurrentProfile=3\r\n");
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "lock " + path);
    EXPECT_EQ(log.back(), "unlock " + path);
    EXPECT_NE(std::find(log.begin(), log.end(), "read " + path), log.end());
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const std::string& entry) {
        return entry.rfind("rename ", 0) == 0 && entry.size() > path.size() &&
               entry.compare(entry.size() - path.size(), path.size(), path) == 0;
    })) << "the file was not replaced";
    EXPECT_EQ(store.files.size(), 1u) << "a temporary copy was left";
}

TEST_F(RewriteUnderLock, LockNotHadInTimeWritesNothingAndReportsFailure) {
    lock.grant = false;
    EngineIniFileSystem engine(logged, lock);
    bool called = false;
    EXPECT_FALSE(RewriteIniFile(engine, path, [&](IniFile& f) {
        called = true;
        return f.WriteString("Setting", "Device", "1");
    }));
    EXPECT_FALSE(called);
    EXPECT_EQ(log, std::vector<std::string>{"lock " + path});
    EXPECT_EQ(store.files[path], "[Setting]\r\nDevice=0\r\n");
}

TEST(IniRewriteLockName, EverySpellingOfOnePathNamesOneLock) {
    const std::string name = IniRewriteLockName("C:\\Games\\Mouse\\config.ini");
    EXPECT_EQ(name.rfind("GamingMouse.IniFile.", 0), 0u);
    EXPECT_EQ(name.size(), std::string("GamingMouse.IniFile.").size() + 16);
    EXPECT_EQ(name.find('\\'), std::string::npos) << "a backslash would make a namespace path";
    EXPECT_EQ(IniRewriteLockName("c:/games/MOUSE/CONFIG.INI"), name);
    EXPECT_NE(IniRewriteLockName("C:\\Games\\Mouse\\config\\Default0.gmp"),
              IniRewriteLockName("C:\\Games\\Mouse\\config\\Default1.gmp"));
    EXPECT_NE(IniRewriteLockName("C:\\Games\\Mouse2\\config.ini"), name);
}

}  // namespace
}  // namespace settings
