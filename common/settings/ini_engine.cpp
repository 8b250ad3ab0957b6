#include "common/settings/ini_engine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

#include "common/path_join.h"

namespace settings {

namespace {

// The blanks that trimming removes, as a table: every name and value of a
// file is trimmed at both ends, often more than once.
constexpr std::array<bool, 256> kBlanks = [] {
    std::array<bool, 256> blanks{};
    for (const char c : {' ', '\t', '\n', '\v', '\f', '\r'})
        blanks[static_cast<unsigned char>(c)] = true;
    return blanks;
}();

bool IsBlank(char c) {
    return kBlanks[static_cast<unsigned char>(c)];
}

std::string_view TrimmedLeft(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && IsBlank(s[b])) ++b;
    return s.substr(b);
}

std::string_view Trimmed(std::string_view s) {
    s = TrimmedLeft(s);
    std::size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1])) --e;
    return s.substr(0, e);
}

// ASCII upper case to lower case, every other byte to itself. A table, since
// every lookup lowers its names.
constexpr std::array<char, 256> kLowerCase = [] {
    std::array<char, 256> lower{};
    for (int c = 0; c < 256; ++c)
        lower[c] = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower;
}();

// The key of a name in the lookup indexes: names compare ignoring ASCII case.
std::string LowerName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = kLowerCase[static_cast<unsigned char>(c)];
    return lower;
}

// Digit value of each character as the struct reader computes it, -1 for a
// character it refuses (anything but an ASCII letter or digit): anything
// above '9' is taken as a letter, so non-hex letters still yield (too large)
// values. A table, since every byte of a struct is two lookups.
constexpr std::array<std::int8_t, 256> kStructDigits = [] {
    std::array<std::int8_t, 256> digits{};
    for (int c = 0; c < 256; ++c) {
        if (c >= '0' && c <= '9')
            digits[c] = static_cast<std::int8_t>(c - '0');
        else if (c >= 'A' && c <= 'Z')
            digits[c] = static_cast<std::int8_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'z')
            digits[c] = static_cast<std::int8_t>(c - 'a' + 10);
        else
            digits[c] = -1;
    }
    return digits;
}();

int StructDigit(char c) {
    return kStructDigits[static_cast<unsigned char>(c)];
}

// The characters kStructDigits accepts, for finding the first it refuses in
// one library call rather than a test per character.
constexpr const char* kStructDigitChars =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Decodes `count` bytes of the struct encoding whose characters are known to
// be digits, and returns their 8-bit sum.
std::uint8_t DecodeDigitPairs(const char* text, std::size_t count, std::uint8_t* out) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto byte = static_cast<std::uint8_t>((StructDigit(text[2 * i]) << 4) +
                                                    StructDigit(text[2 * i + 1]));
        out[i] = byte;
        sum = static_cast<std::uint8_t>(sum + byte);
    }
    return sum;
}

std::string StripQuotes(const std::string& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

std::string Cut(std::string s, std::size_t bufferSize) {
    if (bufferSize == 0)
        return {};
    if (s.size() > bufferSize - 1)
        s.resize(bufferSize - 1);
    return s;
}

}  // namespace

std::int32_t ParseProfileInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        if (text[i + 1] == 'x')
            base = 16;
        if (text[i + 1] == 'o')
            base = 8;
        if (text[i + 1] == 'b')
            base = 2;
        if (base != 10)
            i += 2;
    }
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'z') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'Z') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    if (negative)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

IniDocument IniDocument::Parse(const std::string& text) {
    IniDocument doc;
    const std::string_view all(text);
    std::size_t pos = 0;
    while (pos <= all.size()) {
        std::size_t end = all.find('\n', pos);
        if (end == std::string_view::npos)
            end = all.size();
        const std::string_view line = Trimmed(all.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                doc.AddSection(std::string(Trimmed(line.substr(1, close - 1))));
                continue;
            }
        }
        // Lines ahead of the first section header belong to a nameless section.
        if (doc.sections_.empty())
            doc.AddSection({});
        Entry entry;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            entry.name = line;
        } else {
            entry.name = Trimmed(line.substr(0, eq));
            entry.value = std::string(Trimmed(line.substr(eq + 1)));
        }
        std::string lookupName = LowerName(entry.name);
        AddEntry(doc.sections_.back(), std::move(lookupName), std::move(entry));
    }
    return doc;
}

IniDocument::Section& IniDocument::AddSection(std::string name) {
    firstSection_.try_emplace(LowerName(name), sections_.size());
    sections_.push_back(Section{std::move(name), {}, {}});
    return sections_.back();
}

void IniDocument::AddEntry(Section& section, std::string lookupName, Entry entry) {
    section.firstEntry.try_emplace(std::move(lookupName), section.entries.size());
    section.entries.push_back(std::move(entry));
}

std::string IniDocument::Serialize() const {
    std::size_t length = 0;
    for (const Section& s : sections_) {
        length += s.name.size() + 4;
        for (const Entry& e : s.entries)
            length += e.name.size() + 3 + (e.value ? e.value->size() : 0);
    }
    std::string out;
    out.reserve(length);
    for (const Section& s : sections_) {
        if (!s.name.empty()) {
            out += '[';
            out += s.name;
            out += "]\r\n";
        }
        for (const Entry& e : s.entries) {
            out += e.name;
            if (e.value) {
                out += '=';
                out += *e.value;
            }
            out += "\r\n";
        }
    }
    return out;
}

// Only the first section of a name is searched; a later section of the same
// name is kept in the file but never read.
const IniDocument::Entry* IniDocument::Find(const char* section, const char* key) const {
    const auto sec = firstSection_.find(LowerName(Trimmed(section ? section : "")));
    if (sec == firstSection_.end())
        return nullptr;
    const Section& found = sections_[sec->second];
    const auto entry = found.firstEntry.find(LowerName(Trimmed(key ? key : "")));
    return entry == found.firstEntry.end() ? nullptr : &found.entries[entry->second];
}

std::string IniDocument::GetString(const char* section, const char* key, const char* defaultValue,
                                   std::size_t bufferSize) const {
    const Entry* e = Find(section, key);
    if (e != nullptr && e->value)
        return Cut(StripQuotes(*e->value), bufferSize);
    return Cut(defaultValue ? defaultValue : "", bufferSize);
}

std::int32_t IniDocument::GetInt(const char* section, const char* key,
                                 std::int32_t defaultValue) const {
    // The system reads integers through a 30-character buffer.
    const std::string text = GetString(section, key, "", 30);
    if (text.empty())
        return defaultValue;
    return ParseProfileInt(text);
}

bool IniDocument::GetStruct(const char* section, const char* key, void* data,
                            std::size_t size) const {
    const Entry* e = Find(section, key);
    if (e == nullptr || !e->value)
        return false;
    const std::string& v = *e->value;
    const std::size_t encoded = 2 * size + 2;
    if (v.size() < encoded)
        return false;
    // The bytes ahead of the first character that is no digit are stored
    // before the read fails, as the system stores them. The value's NUL
    // terminator (or a NUL inside it) ends the digits too.
    const std::size_t digits = std::strspn(v.c_str(), kStructDigitChars);
    auto* out = static_cast<std::uint8_t*>(data);
    const std::uint8_t sum = DecodeDigitPairs(v.data(), std::min(digits / 2, size), out);
    if (digits < encoded)
        return false;
    std::uint8_t stored = 0;
    DecodeDigitPairs(v.data() + 2 * size, 1, &stored);
    return stored == sum;
}

bool IniDocument::SetString(const char* section, const char* key, const char* value) {
    const std::string_view s = Trimmed(section ? section : "");
    const std::string_view k = TrimmedLeft(key ? key : "");
    const std::string_view v = Trimmed(value ? value : "");
    const auto sec = firstSection_.find(LowerName(s));
    Section& target =
        sec == firstSection_.end() ? AddSection(std::string(s)) : sections_[sec->second];
    std::string lookupName = LowerName(Trimmed(k));
    const auto entry = target.firstEntry.find(lookupName);
    if (entry == target.firstEntry.end()) {
        AddEntry(target, std::move(lookupName), Entry{std::string(k), std::string(v)});
        return true;
    }
    Entry& e = target.entries[entry->second];
    if (e.value && *e.value == v)
        return false;
    e.value = std::string(v);
    return true;
}

std::string EncodeStruct(const void* data, std::size_t size) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::string out(2 * size + 2, '\0');
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        out[2 * i] = kHex[bytes[i] >> 4];
        out[2 * i + 1] = kHex[bytes[i] & 0x0F];
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    }
    out[2 * size] = kHex[sum >> 4];
    out[2 * size + 1] = kHex[sum & 0x0F];
    return out;
}

namespace {

// Fills the temporary file `temp` through write() and puts it in place of
// `path`; on any failure the temporary file is removed and path is untouched.
bool FillAndReplace(IniFileSystem& files, const std::string& temp, const std::string& path,
                    const std::function<bool(IniFile&)>& write) {
    bool ok = false;
    {
        // The file is closed before the swap: Windows cannot replace an open file.
        std::unique_ptr<IniFile> file = files.Open(temp);
        if (file) {
            ok = write(*file);
            ok = file->Flush() && ok;
        }
    }
    if (!ok || !files.Replace(temp, path)) {
        files.Remove(temp);
        return false;
    }
    return true;
}

// A sibling of `path` that does not exist: its temporary copy starts empty.
bool AbsentSibling(IniFileSystem& files, const std::string& path, std::string& absent) {
    absent = path + ".~new";
    for (int attempt = 0; attempt < 8 && files.CanOpen(absent); ++attempt) absent += '~';
    return !files.CanOpen(absent);
}

}  // namespace

bool RewriteIniFile(IniFileSystem& files, const std::string& path,
                    const std::function<bool(IniFile&)>& write) {
    // The original is read (into the copy) only once the lock is held: a
    // copy taken before would miss what the previous holder wrote.
    const std::unique_ptr<IniRewriteLock::Hold> hold = files.LockForRewrite(path);
    if (!hold)
        return false;
    std::string temp;
    if (!files.CreateTempCopy(path, temp))
        return false;
    return FillAndReplace(files, temp, path, write);
}

bool WriteFreshIniFile(IniFileSystem& files, const std::string& path,
                       const std::function<bool(IniFile&)>& write) {
    std::string absent;
    std::string temp;
    if (!AbsentSibling(files, path, absent) || !files.CreateTempCopy(absent, temp))
        return false;
    return FillAndReplace(files, temp, path, write);
}

namespace {

// An IniFile over a document in memory: reads answer from it, and the struct
// encoding of writes is shared; what a write does is the derived class's.
class DocumentIniFile : public IniFile {
  public:
    explicit DocumentIniFile(IniDocument& doc) : doc_(doc) {}

    std::int32_t GetInt(const char* section, const char* key, std::int32_t def) override {
        return doc_.GetInt(section, key, def);
    }
    std::string GetString(const char* section, const char* key, const char* def) override {
        return doc_.GetString(section, key, def);
    }
    bool GetStruct(const char* section, const char* key, void* data, std::size_t size) override {
        return doc_.GetStruct(section, key, data, size);
    }
    bool WriteStruct(const char* section, const char* key, const void* data,
                     std::size_t size) override {
        return WriteString(section, key, EncodeStruct(data, size).c_str());
    }

  protected:
    IniDocument& doc_;
};

// Takes the writes of an update on a document in memory and tells whether
// any of them changed a value.
class PreviewIniFile final : public DocumentIniFile {
  public:
    explicit PreviewIniFile(IniDocument& doc) : DocumentIniFile(doc) {}
    bool Changed() const { return changed_; }

    bool WriteString(const char* section, const char* key, const char* value) override {
        if (section == nullptr || key == nullptr || value == nullptr) {
            changed_ = true;  // deletions are left to the real rewrite
            return true;
        }
        changed_ = doc_.SetString(section, key, value) || changed_;
        return true;
    }
    bool Flush() override { return true; }

  private:
    bool changed_ = false;
};

// Writes change the document; nothing is behind it to flush to.
class MemoryIniFile final : public DocumentIniFile {
  public:
    explicit MemoryIniFile(IniDocument& doc) : DocumentIniFile(doc) {}
    bool WriteString(const char* section, const char* key, const char* value) override {
        if (section == nullptr || key == nullptr)
            return false;
        doc_.SetString(section, key, value);
        return true;
    }
    bool Flush() override { return true; }
};

}  // namespace

std::unique_ptr<IniFile> IniFileOver(IniDocument& doc) {
    return std::make_unique<MemoryIniFile>(doc);
}

bool UpdateIniFile(IniFileSystem& files, const std::string& path,
                   const std::function<bool(IniFile&)>& write) {
    // Read without the rewrite lock: the other writers (Monitor's single-key
    // writers) store other keys, so they cannot make ours differ meanwhile.
    std::string bytes;
    if (files.ReadBytes(path, bytes)) {
        IniDocument doc = IniDocument::Parse(bytes);
        PreviewIniFile preview(doc);
        if (write(preview) && !preview.Changed())
            return true;
    }
    return RewriteIniFile(files, path, write);
}

// ---------------------------------------------------------------------------

namespace {

std::filesystem::path DiskPath(const std::string& path) {
#ifdef _WIN32
    // Our paths are UTF-8: said so, or the library would read them in the
    // process's code page.
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
    std::string p = path;
    for (char& c : p) {
        if (c == '\\')
            c = '/';
    }
    return std::filesystem::path(p);
#endif
}

// The engine's own file: the document is written back whole at Flush (or
// when the file is closed) if a write changed it.
class EngineIniFile final : public DocumentIniFile {
  public:
    EngineIniFile(TextFileStore& store, std::string path, IniDocument doc)
        : DocumentIniFile(own_), store_(store), path_(std::move(path)), own_(std::move(doc)) {}
    ~EngineIniFile() override {
        if (dirty_)
            Flush();
    }

    bool WriteString(const char* section, const char* key, const char* value) override {
        if (section == nullptr || key == nullptr)
            return false;
        if (doc_.SetString(section, key, value))
            dirty_ = true;
        return true;
    }
    bool Flush() override {
        if (!dirty_)
            return true;
        dirty_ = false;
        return store_.WriteAll(path_, doc_.Serialize());
    }

  private:
    TextFileStore& store_;
    std::string path_;
    IniDocument own_;
    bool dirty_ = false;
};

}  // namespace

std::unique_ptr<IniFile> EngineIniFileSystem::Open(const std::string& path) {
    std::string bytes;
    if (!store_.ReadAll(path, bytes))
        bytes.clear();
    return std::make_unique<EngineIniFile>(store_, path, IniDocument::Parse(bytes));
}

bool EngineIniFileSystem::CanOpen(const std::string& path) {
    std::string bytes;
    return store_.Exists(path) && store_.ReadAll(path, bytes);
}

bool EngineIniFileSystem::ReadBytes(const std::string& path, std::string& bytes) {
    return store_.Exists(path) && store_.ReadAll(path, bytes);
}

bool EngineIniFileSystem::CreateTempCopy(const std::string& path, std::string& tempPath) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string bytes;
    if (store_.Exists(path) && !store_.ReadAll(path, bytes))
        return false;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::string candidate =
            paths::JoinPath(folder, "~" + base + "." + std::to_string(++tempCounter_) + ".tmp");
        if (store_.Exists(candidate))
            continue;
        if (!store_.WriteAll(candidate, bytes)) {
            store_.Remove(candidate);
            return false;
        }
        tempPath = std::move(candidate);
        return true;
    }
    return false;
}

bool EngineIniFileSystem::Replace(const std::string& tempPath, const std::string& path) {
    return store_.Rename(tempPath, path);
}

void EngineIniFileSystem::Remove(const std::string& path) {
    store_.Remove(path);
}

std::unique_ptr<IniRewriteLock::Hold> EngineIniFileSystem::LockForRewrite(const std::string& path) {
    return lock_.Acquire(path);
}

IniRewriteLock& EngineIniFileSystem::ProcessWideLock() {
    static InProcessIniRewriteLock lock;
    return lock;
}

bool DiskTextFileStore::ReadAll(const std::string& path, std::string& bytes) {
    std::ifstream in(DiskPath(path), std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool DiskTextFileStore::WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(DiskPath(path), std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool DiskTextFileStore::Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(DiskPath(path), ec);
}

bool DiskTextFileStore::Rename(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::filesystem::rename(DiskPath(from), DiskPath(to), ec);
    return !ec;
}

void DiskTextFileStore::Remove(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(DiskPath(path), ec);
}

}  // namespace settings
