#include "common/settings/ini_engine.h"

#include <algorithm>
#include <array>
#include <bit>
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

// Pointer walks rather than substr: these run for every line and lookup.
std::string_view TrimmedLeft(std::string_view s) {
    const char* b = s.data();
    const char* const e = b + s.size();
    while (b != e && IsBlank(*b)) ++b;
    return std::string_view(b, static_cast<std::size_t>(e - b));
}

std::string_view Trimmed(std::string_view s) {
    s = TrimmedLeft(s);
    const char* const b = s.data();
    const char* e = b + s.size();
    while (e != b && IsBlank(e[-1])) --e;
    return std::string_view(b, static_cast<std::size_t>(e - b));
}

// ASCII upper case to lower case, every other byte to itself. A table, since
// every lookup lowers its names.
constexpr std::array<char, 256> kLowerCase = [] {
    std::array<char, 256> lower{};
    for (int c = 0; c < 256; ++c)
        lower[c] = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower;
}();

char Lower(char c) {
    return kLowerCase[static_cast<unsigned char>(c)];
}

// Names compare ignoring ASCII case. Most are spelt alike, which one library
// call tells at once.
bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           (a == b || std::equal(a.begin(), a.end(), b.begin(),
                                 [](char x, char y) { return Lower(x) == Lower(y); }));
}

// FNV-1a over the lower-cased name, started from `seed` so that the same key
// in different sections lands apart.
// Eight characters are read from the name at a time: every lookup hashes.
std::size_t NameHash(std::string_view name, std::uint64_t seed) {
    std::uint64_t h = 14695981039346656037ull ^ (seed * 0x9E3779B97F4A7C15ull);
    const auto mix = [&h](char c) {
        h ^= static_cast<unsigned char>(Lower(c));
        h *= 1099511628211ull;
    };
    const char* at = name.data();
    std::size_t left = name.size();
    for (; left >= 8; at += 8, left -= 8) {
        char chunk[8];
        std::memcpy(chunk, at, sizeof chunk);
        for (const char c : chunk) mix(c);
    }
    for (; left > 0; ++at, --left) mix(*at);
    return static_cast<std::size_t>(h ^ (h >> 29));
}

// The smallest power of two that keeps `count` names at most half the slots.
std::size_t SlotsFor(std::size_t count) {
    std::size_t slots = 16;
    while (slots < 2 * count) slots *= 2;
    return slots;
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

std::uint8_t DigitPair(const char* text) {
    return static_cast<std::uint8_t>((StructDigit(text[0]) << 4) + StructDigit(text[1]));
}

// The sum of four bytes held in a word: the struct encoding's check sum
// gathers them four at a time.
unsigned ByteSum(std::uint32_t four) {
    return (four & 0xFFu) + (four >> 8 & 0xFFu) + (four >> 16 & 0xFFu) + (four >> 24);
}

// The four bytes of eight struct digits, all known to be digits, computed in
// one 64-bit word with no table read: each character less what its kind
// stands for ('0', 'A' - 10 or 'a' - 10), then each pair's first times
// sixteen plus its second, kept to a byte. A byte's low seven bits plus
// 0x80 - x carry into its top bit from x up; no sum carries into the next
// byte, and no pair's value into the next pair's.
std::uint32_t BytesOfEightDigits(std::uint64_t digits) {
    static_assert(std::endian::native == std::endian::little, "digits are read little-endian");
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kTops = 0x8080808080808080ull;
    const auto from = [digits](unsigned first) {
        return ((digits & ~kTops) + kOnes * (0x80 - first)) >> 7 & kOnes;
    };
    const std::uint64_t letters = from('A');
    const std::uint64_t small = from('a');
    // Digits less '0'; letters 7 more, small letters another 32.
    const std::uint64_t values = digits - kOnes * '0' - letters * 7 - small * 32;
    const std::uint64_t lanes =
        ((values & 0x00FF00FF00FF00FFull) << 4) + (values >> 8 & 0x00FF00FF00FF00FFull);
    std::uint64_t bytes = lanes & 0x00FF00FF00FF00FFull;
    bytes = (bytes | bytes >> 8) & 0x0000FFFF0000FFFFull;
    return static_cast<std::uint32_t>(bytes | bytes >> 16);
}

// Decodes `count` bytes of the struct encoding whose characters are known to
// be digits, and returns their 8-bit sum. Four bytes a round, each round one
// read and one write of memory: records run to a thousand bytes, and the
// loop's own test (or a checked access) would cost as much as a byte.
std::uint8_t DecodeDigitPairs(const char* text, std::size_t count, std::uint8_t* out) {
    unsigned sum = 0;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint64_t digits;
        std::memcpy(&digits, text + 2 * i, sizeof digits);
        const std::uint32_t four = BytesOfEightDigits(digits);
        std::memcpy(out + i, &four, sizeof four);
        sum += ByteSum(four);
    }
    for (; i < count; ++i) {
        out[i] = DigitPair(text + 2 * i);
        sum += out[i];
    }
    return static_cast<std::uint8_t>(sum);
}

std::string_view StripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

std::string_view Cut(std::string_view s, std::size_t bufferSize) {
    if (bufferSize == 0)
        return {};
    return s.substr(0, std::min(s.size(), bufferSize - 1));
}

std::size_t LineCount(std::string_view text) {
    std::size_t lines = 1;
    for (const char *p = text.data(), *end = p + text.size();
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) !=
         nullptr;
         ++p)
        ++lines;
    return lines;
}

}  // namespace

std::int32_t ParseProfileInt(std::string_view text) {
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
        // Letters and digits have the values the struct reader gives them;
        // anything else (-1) is no digit in any base either.
        const auto digit = static_cast<unsigned>(StructDigit(text[i]));
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    if (negative)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    doc.text_.assign(text);
    const char* const begin = doc.text_.data();
    const char* const end = begin + doc.text_.size();
    // Every line is at most one section or entry: the entries and both
    // indexes are sized once for them all.
    const std::size_t lines = LineCount(doc.text_);
    doc.entries_.reserve(lines);
    doc.ReserveIndex(lines, lines);
    const auto spanOf = [begin](std::string_view part) {
        return Span{static_cast<std::size_t>(part.data() - begin), part.size()};
    };
    bool more = true;
    for (const char* pos = begin; more;) {
        const char* lineEnd =
            static_cast<const char*>(std::memchr(pos, '\n', static_cast<std::size_t>(end - pos)));
        if (lineEnd == nullptr) {
            lineEnd = end;
            more = false;
        }
        const std::string_view line =
            Trimmed(std::string_view(pos, static_cast<std::size_t>(lineEnd - pos)));
        pos = more ? lineEnd + 1 : end;
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                doc.AddSection(spanOf(Trimmed(line.substr(1, close - 1))));
                continue;
            }
        }
        // Lines ahead of the first section header belong to a nameless section.
        if (doc.sections_.empty())
            doc.AddSection({}, false);
        Entry entry;
        const std::size_t eq = line.find('=');
        std::string_view name = line;
        if (eq != std::string_view::npos) {
            name = Trimmed(line.substr(0, eq));
            entry.value = spanOf(Trimmed(line.substr(eq + 1)));
            entry.hasValue = true;
        }
        entry.name = spanOf(name);
        entry.keyLength = name.size();
        doc.AddEntry(doc.sections_.size() - 1, entry);
    }
    return doc;
}

IniDocument::Span IniDocument::Append(std::string_view bytes) {
    const Span span{text_.size(), bytes.size()};
    text_.append(bytes);
    text_ += '\0';
    return span;
}

std::size_t IniDocument::SectionSlot(std::string_view name) const {
    const std::size_t mask = sectionIndex_.size() - 1;
    std::size_t i = NameHash(name, 0) & mask;
    while (sectionIndex_[i] != 0 && !SameName(View(sections_[sectionIndex_[i] - 1].name), name))
        i = (i + 1) & mask;
    return i;
}

std::size_t IniDocument::EntrySlot(std::size_t section, std::string_view key) const {
    const std::size_t mask = entryIndex_.size() - 1;
    std::size_t i = NameHash(key, section + 1) & mask;
    for (;; i = (i + 1) & mask) {
        if (entryIndex_[i] == 0)
            return i;
        const Entry& entry = entries_[entryIndex_[i] - 1];
        if (entry.section == section && SameName(Key(entry), key))
            return i;
    }
}

std::ptrdiff_t IniDocument::SectionIndex(std::string_view name) const {
    if (sectionIndex_.empty())
        return -1;
    return static_cast<std::ptrdiff_t>(sectionIndex_[SectionSlot(name)]) - 1;
}

void IniDocument::ReserveIndex(std::size_t sections, std::size_t entries) {
    if (2 * sections > sectionIndex_.size() || sectionIndex_.empty())
        ReindexSections(SlotsFor(sections));
    if (2 * entries > entryIndex_.size() || entryIndex_.empty())
        ReindexEntries(SlotsFor(entries));
}

// First names first, so each name still finds the first of its name.
void IniDocument::ReindexSections(std::size_t slots) {
    sectionIndex_.assign(slots, 0);
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        std::uint32_t& slot = sectionIndex_[SectionSlot(View(sections_[s].name))];
        if (slot == 0)
            slot = static_cast<std::uint32_t>(s + 1);
    }
}

void IniDocument::ReindexEntries(std::size_t slots) {
    entryIndex_.assign(slots, 0);
    for (std::size_t e = 0; e < entries_.size(); ++e) {
        std::uint32_t& slot = entryIndex_[EntrySlot(entries_[e].section, Key(entries_[e]))];
        if (slot == 0)
            slot = static_cast<std::uint32_t>(e + 1);
    }
}

std::size_t IniDocument::AddSection(Span name, bool hasHeader) {
    ReserveIndex(sections_.size() + 1, entries_.size());
    sections_.push_back(Section{name, kNoEntry, kNoEntry, hasHeader});
    const std::size_t index = sections_.size() - 1;
    std::uint32_t& slot = sectionIndex_[SectionSlot(View(name))];
    if (slot == 0)
        slot = static_cast<std::uint32_t>(index + 1);
    return index;
}

void IniDocument::AddEntry(std::size_t section, Entry entry) {
    ReserveIndex(sections_.size(), entries_.size() + 1);
    AddEntryAt(section, entry, EntrySlot(section, Key(entry)));
}

void IniDocument::AddEntryAt(std::size_t section, Entry entry, std::size_t slot) {
    const auto index = static_cast<std::uint32_t>(entries_.size());
    entry.section = static_cast<std::uint32_t>(section);
    entry.next = kNoEntry;
    entries_.push_back(entry);
    Section& owner = sections_[section];
    if (owner.last == kNoEntry)
        owner.first = index;
    else
        entries_[owner.last].next = index;
    owner.last = index;
    if (entryIndex_[slot] == 0)
        entryIndex_[slot] = index + 1;
}

std::string IniDocument::Serialize() const {
    std::size_t length = 0;
    for (const Section& s : sections_) length += s.hasHeader ? s.name.length + 4 : 0;
    for (const Entry& e : entries_)
        length += e.name.length + 2 + (e.hasValue ? e.value.length + 1 : 0);
    // Sized once and filled by copies: a file is a few hundred short pieces.
    std::string out(length, '\0');
    char* at = out.data();
    const auto put = [&at](const char* bytes, std::size_t count) {
        std::memcpy(at, bytes, count);
        at += count;
    };
    for (const Section& s : sections_) {
        if (s.hasHeader) {
            put("[", 1);
            put(text_.data() + s.name.offset, s.name.length);
            put("]\r\n", 3);
        }
        for (std::uint32_t i = s.first; i != kNoEntry; i = entries_[i].next) {
            const Entry& e = entries_[i];
            put(text_.data() + e.name.offset, e.name.length);
            if (e.hasValue) {
                put("=", 1);
                put(text_.data() + e.value.offset, e.value.length);
            }
            put("\r\n", 2);
        }
    }
    return out;
}

// Only the first section of a name is searched; a later section of the same
// name is kept in the file but never read.
IniDocument::SectionId IniDocument::FindSection(const char* section) const {
    SectionId id;
    const std::ptrdiff_t index = SectionIndex(Trimmed(section ? section : ""));
    if (index >= 0)
        id.index_ = static_cast<std::uint32_t>(index);
    return id;
}

IniDocument::SectionId IniDocument::SectionForWriting(const char* section) {
    const std::string_view name = Trimmed(section ? section : "");
    std::ptrdiff_t index = SectionIndex(name);
    if (index < 0)
        index = static_cast<std::ptrdiff_t>(AddSection(Append(name)));
    SectionId id;
    id.index_ = static_cast<std::uint32_t>(index);
    return id;
}

const IniDocument::Entry* IniDocument::Find(SectionId section, const char* key) const {
    if (!section.Found())
        return nullptr;
    const std::uint32_t slot = entryIndex_[EntrySlot(section.index_, Trimmed(key ? key : ""))];
    return slot == 0 ? nullptr : &entries_[slot - 1];
}

void IniDocument::Reserve(std::size_t entries, std::size_t bytes) {
    entries_.reserve(entries_.size() + entries);
    text_.reserve(text_.size() + bytes);
    ReserveIndex(sections_.size() + 1, entries_.size() + entries);
}

void IniDocument::ListKeys(const char* section,
                           const std::function<void(std::string_view)>& visit) const {
    const std::ptrdiff_t sec = SectionIndex(Trimmed(section ? section : ""));
    if (sec < 0)
        return;
    for (std::uint32_t i = sections_[static_cast<std::size_t>(sec)].first; i != kNoEntry;
         i = entries_[i].next)
        visit(Key(entries_[i]));
}

std::string IniDocument::GetString(SectionId section, const char* key, const char* defaultValue,
                                   std::size_t bufferSize) const {
    const Entry* e = Find(section, key);
    if (e != nullptr && e->hasValue)
        return std::string(Cut(StripQuotes(View(e->value)), bufferSize));
    return std::string(Cut(defaultValue ? defaultValue : "", bufferSize));
}

std::int32_t IniDocument::GetInt(SectionId section, const char* key,
                                 std::int32_t defaultValue) const {
    // The system reads integers through a 30-character buffer.
    const Entry* e = Find(section, key);
    const std::string_view text =
        e != nullptr && e->hasValue ? Cut(StripQuotes(View(e->value)), 30) : std::string_view();
    if (text.empty())
        return defaultValue;
    return ParseProfileInt(text);
}

bool IniDocument::GetStruct(SectionId section, const char* key, void* data,
                            std::size_t size) const {
    const Entry* e = Find(section, key);
    if (e == nullptr || !e->hasValue)
        return false;
    const std::string_view v = View(e->value);
    const std::size_t encoded = 2 * size + 2;
    if (v.size() < encoded)
        return false;
    // The bytes ahead of the first character that is no digit are stored
    // before the read fails, as the system stores them. A NUL inside the
    // value ends the digits too, as the end of the value does: no value in
    // text_ is followed by a digit.
    const std::size_t digits =
        std::min(std::strspn(text_.c_str() + e->value.offset, kStructDigitChars), v.size());
    auto* out = static_cast<std::uint8_t*>(data);
    const std::uint8_t sum = DecodeDigitPairs(v.data(), std::min(digits / 2, size), out);
    if (digits < encoded)
        return false;
    std::uint8_t stored = 0;
    DecodeDigitPairs(v.data() + 2 * size, 1, &stored);
    return stored == sum;
}

bool IniDocument::SetString(SectionId section, const char* key, const char* value) {
    const std::string_view k = TrimmedLeft(key ? key : "");
    const std::string_view v = Trimmed(value ? value : "");
    const std::size_t index = section.index_;
    const std::string_view lookup = Trimmed(k);
    // Room for one more key first, so that the slot the lookup finds is
    // where a new key goes: one search per write, not two.
    ReserveIndex(sections_.size(), entries_.size() + 1);
    const std::size_t slot = EntrySlot(index, lookup);
    if (entryIndex_[slot] == 0) {
        Entry entry;
        entry.name = Append(k);
        entry.keyLength = lookup.size();
        entry.value = Append(v);
        entry.hasValue = true;
        AddEntryAt(index, entry, slot);
        return true;
    }
    Entry& e = entries_[entryIndex_[slot] - 1];
    if (e.hasValue && View(e.value) == v)
        return false;
    e.hasValue = true;
    if (v.size() <= e.value.length) {
        // The old value's bytes belong to this entry alone: overwrite them
        // rather than let a document that is written often grow.
        text_.replace(e.value.offset, v.size(), v);
        if (v.size() < e.value.length)
            text_[e.value.offset + v.size()] = '\0';
        e.value.length = v.size();
    } else {
        e.value = Append(v);
    }
    return true;
}

std::string EncodeStruct(const void* data, std::size_t size) {
    std::string out;
    EncodeStruct(data, size, out);
    return out;
}

namespace {

// The uppercase hex digit of 0..15, computed rather than looked up: no
// table read and no comparison per digit (9 - v wraps for the letters).
char HexDigit(unsigned v) {
    return static_cast<char>('0' + v + (((9u - v) >> 28) & 7u));
}

void PutHexPair(char* at, std::uint8_t byte) {
    at[0] = HexDigit(byte >> 4u);
    at[1] = HexDigit(byte & 0x0Fu);
}

// The eight hex digits of four bytes, in their order, computed in one
// 64-bit word: each byte spread to two, its high half in the first; then
// '0' added to each, and 7 more to each of 10 and above, whose sum with
// 0x76 reaches the byte's top bit.
std::uint64_t HexDigitsOfFour(std::uint32_t four) {
    static_assert(std::endian::native == std::endian::little, "digits are laid out little-endian");
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    std::uint64_t spread = four;
    spread = (spread | spread << 16) & 0x0000FFFF0000FFFFull;
    spread = (spread | spread << 8) & 0x00FF00FF00FF00FFull;
    const std::uint64_t nibbles =
        (spread >> 4 & 0x000F000F000F000Full) | (spread & 0x000F000F000F000Full) << 8;
    const std::uint64_t letters = (nibbles + kOnes * 0x76) >> 7 & kOnes;
    return nibbles + kOnes * '0' + letters * 7;
}

}  // namespace

void EncodeStruct(const void* data, std::size_t size, std::string& out) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.resize(2 * size + 2);
    char* text = out.data();
    // Four bytes a round, one read and one write of memory, as the reader
    // decodes them: records run to a thousand bytes.
    unsigned sum = 0;
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        std::uint32_t four;
        std::memcpy(&four, bytes + i, sizeof four);
        const std::uint64_t digits = HexDigitsOfFour(four);
        std::memcpy(text + 2 * i, &digits, sizeof digits);
        sum += ByteSum(four);
    }
    for (; i < size; ++i) {
        PutHexPair(text + 2 * i, bytes[i]);
        sum += bytes[i];
    }
    PutHexPair(text + 2 * size, static_cast<std::uint8_t>(sum));
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

// The reads of a section, answered by what `Derived::Source()` gives (a file
// or a document) for the section as `Derived::Where()` names it.
template <typename Derived>
class SectionReads : public IniSection {
  public:
    std::int32_t GetInt(const char* key, std::int32_t def) override {
        return Self().Source().GetInt(Self().Where(), key, def);
    }
    std::string GetString(const char* key, const char* def) override {
        return Self().Source().GetString(Self().Where(), key, def);
    }
    bool GetStruct(const char* key, void* data, std::size_t size) override {
        return Self().Source().GetStruct(Self().Where(), key, data, size);
    }

  private:
    Derived& Self() { return static_cast<Derived&>(*this); }
};

// A section of a file that finds sections per call: each call names it.
class NamedSection final : public SectionReads<NamedSection> {
  public:
    NamedSection(IniFile& file, const char* name)
        : file_(file), name_(name != nullptr ? name : ""), named_(name != nullptr) {}

    IniFile& Source() { return file_; }
    const char* Where() const { return named_ ? name_.c_str() : nullptr; }
    bool WriteString(const char* key, const char* value) override {
        return file_.WriteString(Where(), key, value);
    }
    bool WriteStruct(const char* key, const void* data, std::size_t size) override {
        return file_.WriteStruct(Where(), key, data, size);
    }

  private:
    IniFile& file_;
    std::string name_;
    bool named_;
};

}  // namespace

std::unique_ptr<IniSection> IniFile::Section(const char* name) {
    return std::make_unique<NamedSection>(*this, name);
}

namespace {

// An IniFile over a document in memory: reads answer from it, and the struct
// encoding of writes is shared; what a write does is the derived class's.
class DocumentIniFile : public IniFile {
  public:
    explicit DocumentIniFile(IniDocument& doc) : doc_(doc) {}

    std::unique_ptr<IniSection> Section(const char* name) override;
    // What WriteString does once the section is known; `key` is not null.
    virtual bool WriteIn(IniDocument::SectionId section, const char* key, const char* value) = 0;

    std::int32_t GetInt(const char* section, const char* key, std::int32_t def) override {
        return doc_.GetInt(section, key, def);
    }
    std::string GetString(const char* section, const char* key, const char* def) override {
        return doc_.GetString(section, key, def);
    }
    bool GetStruct(const char* section, const char* key, void* data, std::size_t size) override {
        return doc_.GetStruct(section, key, data, size);
    }
    bool ListKeys(const char* section,
                  const std::function<void(std::string_view)>& visit) override {
        doc_.ListKeys(section, visit);
        return true;
    }
    bool WriteStruct(const char* section, const char* key, const void* data,
                     std::size_t size) override {
        EncodeStruct(data, size, encoded_);
        return WriteString(section, key, encoded_.c_str());
    }

    IniDocument& Document() { return doc_; }

  protected:
    IniDocument& doc_;

  private:
    // A profile's sixteen button records are encoded through one buffer.
    std::string encoded_;
};

// A section of a document found once: reads look up keys in it directly,
// and the first write adds it if the document lacks it.
class DocumentSection final : public SectionReads<DocumentSection> {
  public:
    DocumentSection(DocumentIniFile& file, const char* name)
        : file_(file), doc_(file.Document()), name_(name), id_(doc_.FindSection(name)) {}

    const IniDocument& Source() const { return doc_; }
    // A section missing at first may have been added since by the file.
    IniDocument::SectionId Where() {
        if (!id_.Found())
            id_ = doc_.FindSection(name_.c_str());
        return id_;
    }
    bool WriteString(const char* key, const char* value) override {
        if (key == nullptr)
            return file_.WriteString(name_.c_str(), key, value);
        if (!id_.Found())
            id_ = doc_.SectionForWriting(name_.c_str());
        return file_.WriteIn(id_, key, value);
    }
    bool WriteStruct(const char* key, const void* data, std::size_t size) override {
        EncodeStruct(data, size, encoded_);
        return WriteString(key, encoded_.c_str());
    }

  private:
    DocumentIniFile& file_;
    IniDocument& doc_;
    std::string name_;
    IniDocument::SectionId id_;
    std::string encoded_;
};

std::unique_ptr<IniSection> DocumentIniFile::Section(const char* name) {
    if (name == nullptr)
        return IniFile::Section(name);
    return std::make_unique<DocumentSection>(*this, name);
}

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
        return WriteIn(doc_.SectionForWriting(section), key, value);
    }
    bool WriteIn(IniDocument::SectionId section, const char* key, const char* value) override {
        if (value == nullptr) {
            changed_ = true;
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
        return WriteIn(doc_.SectionForWriting(section), key, value);
    }
    bool WriteIn(IniDocument::SectionId section, const char* key, const char* value) override {
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
        return WriteIn(doc_.SectionForWriting(section), key, value);
    }
    bool WriteIn(IniDocument::SectionId section, const char* key, const char* value) override {
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
