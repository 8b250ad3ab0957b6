// A text log kept in two files of bounded size: lines go to the current file;
// when the next line would take it past the limit, the current file replaces
// the previous one and a new current file begins. The log never holds more
// than twice the limit, and the last lines survive a rotation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace device {

// The file operations the log needs (the program folder's logs).
class LogFiles {
  public:
    virtual ~LogFiles() = default;
    // Bytes in the file; 0 when it does not exist.
    virtual std::uint64_t Size(const std::string& path) = 0;
    virtual bool Append(const std::string& path, std::string_view text) = 0;
    // Moves `from` over `to`, replacing it.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // The whole file; empty when it does not exist.
    virtual std::string Read(const std::string& path) = 0;
};

class RotatingLog {
  public:
    RotatingLog(LogFiles& files, std::string current, std::string previous,
                std::uint64_t limitBytes);

    // Appends `line` and a line end; a line longer than the limit is cut.
    // False when the line could not be written (it is then lost, the files
    // stay within their limit).
    bool Write(std::string_view line);
    // Up to `count` of the newest lines, oldest first, from both files.
    std::vector<std::string> LastLines(std::size_t count);

  private:
    bool Rotate();

    LogFiles& files_;
    std::string current_;
    std::string previous_;
    std::uint64_t limit_;
    // The current file's size, asked once and then counted.
    std::uint64_t size_ = 0;
    bool sizeKnown_ = false;
};

}  // namespace device
