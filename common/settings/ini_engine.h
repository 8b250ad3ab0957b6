// Our own private-profile engine: parses and rewrites INI text the way the
// system's profile functions do (same lookups, same number parsing, same
// rewritten file), so the settings code is testable without Windows and
// behaves identically on both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings/ini_file.h"

namespace settings {

// The parsed contents of one INI file.
class IniDocument {
    static constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

  public:
    static IniDocument Parse(std::string_view text);
    // The file as the system writes it: sections and keys in order, trimmed,
    // CR LF line ends, blank lines dropped.
    std::string Serialize() const;

    // A section found once for many lookups or writes of its keys: the
    // first section of its name, or none. A document's sections stay where
    // they are, so it stays valid while the document lives.
    class SectionId {
      public:
        bool Found() const { return index_ != kNoEntry; }

      private:
        friend class IniDocument;
        std::uint32_t index_ = kNoEntry;
    };
    SectionId FindSection(const char* section) const;
    // The section, added at the end when the document has none of its name.
    SectionId SectionForWriting(const char* section);

    std::int32_t GetInt(const char* section, const char* key, std::int32_t defaultValue) const {
        return GetInt(FindSection(section), key, defaultValue);
    }
    std::string GetString(const char* section, const char* key, const char* defaultValue,
                          std::size_t bufferSize = kIniStringBuffer) const {
        return GetString(FindSection(section), key, defaultValue, bufferSize);
    }
    bool GetStruct(const char* section, const char* key, void* data, std::size_t size) const {
        return GetStruct(FindSection(section), key, data, size);
    }
    // Returns true when the document changed.
    bool SetString(const char* section, const char* key, const char* value) {
        return SetString(SectionForWriting(section), key, value);
    }
    std::int32_t GetInt(SectionId section, const char* key, std::int32_t defaultValue) const;
    std::string GetString(SectionId section, const char* key, const char* defaultValue,
                          std::size_t bufferSize = kIniStringBuffer) const;
    bool GetStruct(SectionId section, const char* key, void* data, std::size_t size) const;
    // `section` is one SectionForWriting gave.
    bool SetString(SectionId section, const char* key, const char* value);
    // Makes room for `entries` keys holding `bytes` of names and values, for
    // a writer that knows how much it will add.
    void Reserve(std::size_t entries, std::size_t bytes);
    // Calls `visit` with each key name of the first section named `section`,
    // in file order.
    void ListKeys(const char* section, const std::function<void(std::string_view)>& visit) const;

  private:
    // Every name and value lives in text_ (the parsed file's bytes, then what
    // writes added, each piece followed by a NUL) and is named by where it
    // lies there: a parse copies the file once instead of allocating per
    // line, and a copy of the document stays valid as it is. No value in it
    // is followed by a letter or digit, so a scan for struct digits stops at
    // the value's end.
    struct Span {
        std::size_t offset = 0;
        std::size_t length = 0;
    };
    // Entries of all sections share one array (a parse sizes it once); each
    // section chains its own in file order.
    struct Entry {
        Span name;
        std::size_t keyLength = 0;  // the name without trailing blanks, as lookups compare it
        Span value;
        std::uint32_t section = 0;
        std::uint32_t next = kNoEntry;
        bool hasValue = false;  // lines without '=' have none
    };
    struct Section {
        Span name;
        std::uint32_t first = kNoEntry;
        std::uint32_t last = kNoEntry;
        // Only the lines ahead of a file's first header have none: a section
        // named "" by a header of its own keeps it, or a save would move its
        // keys into the section above.
        bool hasHeader = true;
    };

    std::string_view View(Span span) const {
        return std::string_view(text_.data() + span.offset, span.length);
    }
    std::string_view Key(const Entry& entry) const {
        return std::string_view(text_.data() + entry.name.offset, entry.keyLength);
    }
    Span Append(std::string_view bytes);
    const Entry* Find(SectionId section, const char* key) const;
    // The section's index, or -1.
    std::ptrdiff_t SectionIndex(std::string_view name) const;
    // The index slot that holds the first section or entry of a name, or the
    // empty slot where it would go.
    std::size_t SectionSlot(std::string_view name) const;
    std::size_t EntrySlot(std::size_t section, std::string_view key) const;
    std::size_t AddSection(Span name, bool hasHeader = true);
    void AddEntry(std::size_t section, Entry entry);
    // The same into `slot`, the empty slot EntrySlot gave for its key after
    // the index had room for it.
    void AddEntryAt(std::size_t section, Entry entry, std::size_t slot);
    void ReserveIndex(std::size_t sections, std::size_t entries);
    // Fill fresh indexes of the given sizes.
    void ReindexSections(std::size_t slots);
    void ReindexEntries(std::size_t slots);

    std::string text_;
    std::vector<Section> sections_;
    std::vector<Entry> entries_;
    // Where a name's first section or entry is (its index + 1; 0 is an empty
    // slot). Names compare ignoring ASCII case and without surrounding
    // blanks; only the first of a name is ever read or written, and an index
    // keeps a file of many keys linear rather than quadratic. Open addressing
    // over one array: a parse allocates it once rather than a node per name.
    std::vector<std::uint32_t> sectionIndex_;
    std::vector<std::uint32_t> entryIndex_;
};

// An IniFile over a document in memory: reads answer from `doc`, writes
// change it, Flush has nothing to do. For parsing and writing file texts
// without a file system.
std::unique_ptr<IniFile> IniFileOver(IniDocument& doc);

// Number parsing of the profile functions' integer reader: optional sign,
// optional lower-case 0x/0o/0b prefix, digits up to the first that does not
// fit, wrapping modulo 2^32.
std::int32_t ParseProfileInt(std::string_view text);

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
