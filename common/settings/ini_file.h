// Access to private-profile (INI) files. Every settings file goes through these
// two interfaces: on Windows the system's own profile functions back them, in
// the native build our engine does, with the same observable behaviour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/settings/ini_rewrite_lock.h"

namespace settings {

// The loader's string buffer: longer values come back cut to 2047 characters.
inline constexpr std::size_t kIniStringBuffer = 2048;

// The keys of one section of an INI file, for a reader or writer of many of
// them: a file that can find the section once does, instead of per key.
class IniSection {
  public:
    virtual ~IniSection() = default;
    virtual std::int32_t GetInt(const char* key, std::int32_t defaultValue) = 0;
    virtual std::string GetString(const char* key, const char* defaultValue) = 0;
    virtual bool GetStruct(const char* key, void* data, std::size_t size) = 0;
    virtual bool WriteString(const char* key, const char* value) = 0;
    virtual bool WriteStruct(const char* key, const void* data, std::size_t size) = 0;
};

// One INI file, addressed by section and key.
class IniFile {
  public:
    virtual ~IniFile() = default;
    // Integer value, or defaultValue when the key is missing or empty.
    virtual std::int32_t GetInt(const char* section, const char* key,
                                std::int32_t defaultValue) = 0;
    // Text value (enclosing quotes removed, cut to kIniStringBuffer - 1), or defaultValue.
    virtual std::string GetString(const char* section, const char* key,
                                  const char* defaultValue) = 0;
    // Binary value of exactly size bytes with its checksum. On failure the
    // bytes may be partly overwritten (as the system does): callers that must
    // keep their data on failure read into a scratch buffer.
    virtual bool GetStruct(const char* section, const char* key, void* data, std::size_t size) = 0;
    virtual bool WriteString(const char* section, const char* key, const char* value) = 0;
    virtual bool WriteStruct(const char* section, const char* key, const void* data,
                             std::size_t size) = 0;
    // Makes every write so far reach the file; false when any of them failed.
    virtual bool Flush() = 0;
    // Section `name` of this file, valid while the file is. Each call goes
    // through the file's own calls above unless the file knows better.
    virtual std::unique_ptr<IniSection> Section(const char* name);
    // Calls `visit` with the name of every key of `section` (as lookups
    // compare it), in file order, and returns true; false when this file
    // cannot list its keys. Readers of numbered keys use it to skip the
    // ones that are absent instead of asking for each in turn.
    virtual bool ListKeys(const char* section, const std::function<void(std::string_view)>& visit) {
        (void)section;
        (void)visit;
        return false;
    }
};

// The files of one folder tree.
class IniFileSystem {
  public:
    virtual ~IniFileSystem() = default;
    virtual std::unique_ptr<IniFile> Open(const std::string& path) = 0;
    // True when the file exists and can be opened for reading.
    virtual bool CanOpen(const std::string& path) = 0;
    // The file's bytes as they are on disk; false when it cannot be read.
    virtual bool ReadBytes(const std::string& path, std::string& bytes) = 0;
    // Creates a new file in path's folder holding a copy of path (empty when
    // path does not exist) and names it in tempPath.
    virtual bool CreateTempCopy(const std::string& path, std::string& tempPath) = 0;
    // Replaces path by tempPath in one step (tempPath is gone afterwards).
    virtual bool Replace(const std::string& tempPath, const std::string& path) = 0;
    virtual void Remove(const std::string& path) = 0;
    // The lock that keeps other writers of path out of a rewrite; null when
    // it could not be had in time.
    virtual std::unique_ptr<IniRewriteLock::Hold> LockForRewrite(const std::string& path) = 0;
};

// Rewrites path whole: write() fills a temporary copy, which then replaces the
// original in one step. A crash or a failed write leaves the original as it
// was, never a file that is half old and half new. The copy is taken, changed
// and put in place under path's rewrite lock, so keys that another writer
// stored meanwhile are in the copy and survive. Returns write()'s success, and
// false without touching anything when the lock was not had.
bool RewriteIniFile(IniFileSystem& files, const std::string& path,
                    const std::function<bool(IniFile&)>& write);

// Writes path afresh: write() fills a new, empty file in path's folder, which
// then replaces path (if any) in one step, as RewriteIniFile does, so the
// result holds only what write() stored. Takes no lock: a caller that shares
// path with other writers holds its rewrite lock around the call.
bool WriteFreshIniFile(IniFileSystem& files, const std::string& path,
                       const std::function<bool(IniFile&)>& write);

// RewriteIniFile only when write() would change a value of the file: the
// writes are first tried on the file's text in memory, and a file that
// already holds every value is left alone, byte for byte what the rewrite
// would have left. An unreadable file is rewritten. Saves that mostly repeat
// what is stored then cost one read instead of a copy and a replace.
bool UpdateIniFile(IniFileSystem& files, const std::string& path,
                   const std::function<bool(IniFile&)>& write);

// The struct encoding: two uppercase hex digits per byte and the 8-bit sum.
std::string EncodeStruct(const void* data, std::size_t size);
// The same into `out`, for writers that encode many records through one buffer.
void EncodeStruct(const void* data, std::size_t size, std::string& out);

}  // namespace settings
