// Our own private-profile engine: parses and rewrites INI text the way the
// system's profile functions do (same lookups, same number parsing, same
// rewritten file), so the settings code is testable without Windows and
// behaves identically on both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/settings/ini_file.h"

namespace settings {

// The parsed contents of one INI file.
class IniDocument {
  public:
    static IniDocument Parse(const std::string& text);
    // The file as the system writes it: sections and keys in order, trimmed,
    // CR LF line ends, blank lines dropped.
    std::string Serialize() const;

    std::int32_t GetInt(const char* section, const char* key, std::int32_t defaultValue) const;
    std::string GetString(const char* section, const char* key, const char* defaultValue,
                          std::size_t bufferSize = kIniStringBuffer) const;
    bool GetStruct(const char* section, const char* key, void* data, std::size_t size) const;
    // Returns true when the document changed.
    bool SetString(const char* section, const char* key, const char* value);

  private:
    struct Entry {
        std::string name;
        std::optional<std::string> value;  // lines without '=' have none
    };
    // Names in lower case, without surrounding blanks, to the first of that
    // name: only the first is ever read or written, and a lookup by name
    // keeps reading a file of many keys linear rather than quadratic.
    using NameIndex = std::unordered_map<std::string, std::size_t>;
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        NameIndex firstEntry;
    };
    const Entry* Find(const char* section, const char* key) const;
    Section& AddSection(std::string name);
    // `lookupName` is the entry's name as firstEntry keys it.
    static void AddEntry(Section& section, std::string lookupName, Entry entry);

    std::vector<Section> sections_;
    NameIndex firstSection_;
};

// An IniFile over a document in memory: reads answer from `doc`, writes
// change it, Flush has nothing to do. For parsing and writing file texts
// without a file system.
std::unique_ptr<IniFile> IniFileOver(IniDocument& doc);

// Number parsing of the profile functions' integer reader: optional sign,
// optional lower-case 0x/0o/0b prefix, digits up to the first that does not
// fit, wrapping modulo 2^32.
std::int32_t ParseProfileInt(const std::string& text);

// Whole-file byte access beneath the engine.
class TextFileStore {
  public:
    virtual ~TextFileStore() = default;
    virtual bool ReadAll(const std::string& path, std::string& bytes) = 0;
    virtual bool WriteAll(const std::string& path, const std::string& bytes) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // Replaces `to` by `from` in one step.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0;
};

// Files on the local disk through the standard library. Backslashes in paths
// are folder separators.
class DiskTextFileStore final : public TextFileStore {
  public:
    bool ReadAll(const std::string& path, std::string& bytes) override;
    bool WriteAll(const std::string& path, const std::string& bytes) override;
    bool Exists(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
};

// IniFileSystem on our engine over any byte store. Rewrites take `lock`; by
// default one lock of this process, which is all the engine's own users need.
class EngineIniFileSystem final : public IniFileSystem {
  public:
    explicit EngineIniFileSystem(TextFileStore& store, IniRewriteLock& lock = ProcessWideLock())
        : store_(store), lock_(lock) {}
    std::unique_ptr<IniFile> Open(const std::string& path) override;
    bool CanOpen(const std::string& path) override;
    bool ReadBytes(const std::string& path, std::string& bytes) override;
    bool CreateTempCopy(const std::string& path, std::string& tempPath) override;
    bool Replace(const std::string& tempPath, const std::string& path) override;
    void Remove(const std::string& path) override;
    std::unique_ptr<IniRewriteLock::Hold> LockForRewrite(const std::string& path) override;

  private:
    static IniRewriteLock& ProcessWideLock();

    TextFileStore& store_;
    IniRewriteLock& lock_;
    unsigned tempCounter_ = 0;
};

// The engine on local disk files, ready to use.
class DiskIniFileSystem final : public IniFileSystem {
  public:
    DiskIniFileSystem() : engine_(disk_) {}
    std::unique_ptr<IniFile> Open(const std::string& path) override { return engine_.Open(path); }
    bool CanOpen(const std::string& path) override { return engine_.CanOpen(path); }
    bool ReadBytes(const std::string& path, std::string& bytes) override {
        return engine_.ReadBytes(path, bytes);
    }
    bool CreateTempCopy(const std::string& path, std::string& tempPath) override {
        return engine_.CreateTempCopy(path, tempPath);
    }
    bool Replace(const std::string& tempPath, const std::string& path) override {
        return engine_.Replace(tempPath, path);
    }
    void Remove(const std::string& path) override { engine_.Remove(path); }
    std::unique_ptr<IniRewriteLock::Hold> LockForRewrite(const std::string& path) override {
        return engine_.LockForRewrite(path);
    }

  private:
    DiskTextFileStore disk_;
    EngineIniFileSystem engine_;
};

}  // namespace settings
