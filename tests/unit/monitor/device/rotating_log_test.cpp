#include "monitor/device/rotating_log.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace device {
namespace {

class MemoryFiles : public LogFiles {
  public:
    std::uint64_t Size(const std::string& path) override { return files[path].size(); }
    bool Append(const std::string& path, std::string_view text) override {
        files[path] += text;
        return true;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        if (locked)
            return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool Remove(const std::string& path) override {
        if (locked)
            return false;
        files.erase(path);
        return true;
    }
    std::string Read(const std::string& path) override {
        const auto found = files.find(path);
        return found == files.end() ? std::string() : found->second;
    }

    std::map<std::string, std::string> files;
    // Another program holds the current file: it can be neither moved nor removed.
    bool locked = false;
};

std::string Line(int n) {
    return "upload job 2 ended: completed in " + std::to_string(n) + " ms";
}

TEST(RotatingLog, KeepsTwoBoundedFilesAndTheNewestLinesInOrder) {
    MemoryFiles files;
    // A log left by an earlier run, nearly full: its size counts from the start.
    files.files["cur"] = std::string(1000, 'x') + "\r\n";
    RotatingLog log(files, "cur", "prev", 1024);
    for (int n = 0; n < 500; ++n) ASSERT_TRUE(log.Write(Line(n)));

    EXPECT_LE(files.files["cur"].size(), 1024u);
    EXPECT_LE(files.files["prev"].size(), 1024u);
    // No line is lost or split at a rotation: the previous file ends with the
    // line just before the current file's first.
    const std::vector<std::string> last = log.LastLines(30);
    ASSERT_EQ(last.size(), 30u);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(last[static_cast<std::size_t>(i)], Line(470 + i));
    EXPECT_NE(files.files["prev"].find(Line(470)), std::string::npos)
        << "the window asked for spans both files";

    // A line longer than the limit is cut to it.
    ASSERT_TRUE(log.Write(std::string(5000, 'y')));
    EXPECT_LE(files.files["cur"].size(), 1024u);

    // Neither file can be moved: lines are dropped, the limit holds.
    files.locked = true;
    int written = 0;
    for (int n = 0; n < 100; ++n) written += log.Write(Line(n)) ? 1 : 0;
    EXPECT_LT(written, 100);
    EXPECT_LE(files.files["cur"].size(), 1024u);
}

}  // namespace
}  // namespace device
