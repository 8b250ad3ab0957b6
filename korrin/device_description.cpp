#include "korrin/device_description.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <functional>
#include <set>

#include "korrin/channel_plan.h"

namespace korrin {

namespace {

constexpr std::uint16_t kLongestReport = 4096;
constexpr std::uint32_t kWidestValue = 0xFFFF;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Decimal, or hexadecimal after "0x"; nothing when malformed or above `most`.
std::optional<std::uint32_t> Number(std::string_view text, std::uint32_t most) {
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        const int lower = std::tolower(static_cast<unsigned char>(c));
        unsigned digit;
        if (lower >= '0' && lower <= '9')
            digit = static_cast<unsigned>(lower - '0');
        else if (base == 16 && lower >= 'a' && lower <= 'f')
            digit = static_cast<unsigned>(lower - 'a' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > most)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::string Hex4(std::uint32_t value) {
    static const char* digits = "0123456789ABCDEF";
    std::string out = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) out += digits[(value >> shift) & 0xF];
    return out;
}

// The value of a field: its bytes, most significant first, masked and
// shifted down. Nothing when the report is too short for it.
std::optional<std::uint32_t> ReadField(const EventField& f, std::span<const std::uint8_t> report) {
    if (std::size_t{f.offset} + f.size > report.size())
        return std::nullopt;
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < f.size; ++i) raw = (raw << 8) | report[f.offset + i];
    return (raw & f.mask) >> std::countr_zero(f.mask);
}

// Writes `value` into the field; false when it is wider than the field.
bool WriteField(const EventField& f, std::uint32_t value, std::span<std::uint8_t> report) {
    const int shift = std::countr_zero(f.mask);
    if (value > (f.mask >> shift) || std::size_t{f.offset} + f.size > report.size())
        return false;
    const std::uint32_t bits = value << shift;
    for (std::size_t i = 0; i < f.size; ++i) {
        const int byteShift = static_cast<int>(8 * (f.size - 1 - i));
        const auto keep = static_cast<std::uint8_t>(~(f.mask >> byteShift));
        report[f.offset + i] =
            static_cast<std::uint8_t>((report[f.offset + i] & keep) | ((bits >> byteShift) & 0xFF));
    }
    return true;
}

// The bits of the report a field covers, byte by byte.
std::vector<std::uint8_t> Coverage(const EventField& f, std::size_t length) {
    std::vector<std::uint8_t> out(length, 0);
    for (std::size_t i = 0; i < f.size && f.offset + i < length; ++i)
        out[f.offset + i] = static_cast<std::uint8_t>(f.mask >> (8 * (f.size - 1 - i)));
    return out;
}

struct Parser {
    DeviceDescription d;
    std::string section;
    std::set<std::string> seen;  // "section.key", lower case

    using Setter = std::function<std::string(Parser&, std::string_view)>;
    struct Row {
        const char* section;
        const char* key;
        Setter set;
    };

    static std::string Lower(std::string_view s) {
        std::string out(s);
        for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return out;
    }

    // A number, or `word` for "whatever the device does".
    template <typename Value>
    static std::string Optional(std::optional<Value>& target, std::string_view v,
                                std::string_view word, std::uint32_t most) {
        if (SameWord(v, word)) {
            target.reset();
            return {};
        }
        const auto n = Number(v, most);
        if (!n) {
            // Appended piece by piece: GCC 12 sees a false overlap in
            // "literal" + string at -O3.
            std::string problem = "neither \"";
            problem.append(word).append("\" nor a number up to ").append(std::to_string(most));
            return problem;
        }
        target = static_cast<Value>(*n);
        return {};
    }

    // The row of an optional number: the field reached from the description
    // through the members of `path` in turn.
    template <typename... Members>
    static Setter OptionalNumber(std::string_view word, std::uint32_t most, Members... path) {
        return [=](Parser& p, std::string_view v) {
            return Optional((p.d.*....*path), v, word, most);
        };
    }

    enum class Part { Offset, Size, Mask };

    static std::string Field(EventField& f, Part part, std::string_view v) {
        switch (part) {
            case Part::Offset:
                if (const auto n = Number(v, 0xFFFF)) {
                    f.offset = static_cast<std::uint16_t>(*n);
                    return {};
                }
                return "not a number up to 65535";
            case Part::Size:
                if (const auto n = Number(v, 4); n && *n >= 1) {
                    f.size = static_cast<std::uint8_t>(*n);
                    return {};
                }
                return "not a size of 1 to 4 bytes";
            case Part::Mask:
                if (const auto n = Number(v, 0xFFFFFFFFu)) {
                    f.mask = *n;
                    return {};
                }
                return "not a number up to 0xFFFFFFFF";
        }
        return "?";
    }

    // The row of one part of an event field that is always there.
    static Setter EventFieldPart(EventField EventFormat::*field, Part part) {
        return [=](Parser& p, std::string_view v) { return Field(p.d.event.*field, part, v); };
    }

    static const std::vector<Row>& Rows() {
        static const std::vector<Row> rows = {
            {"Device", "VendorId", OptionalNumber("client", 0xFFFF, &DeviceDescription::vendorId)},
            {"Device", "ProductId",
             OptionalNumber("client", 0xFFFF, &DeviceDescription::productId)},
            {"Commands", "UsagePage",
             OptionalNumber("any", 0xFFFF, &DeviceDescription::command,
                            &ChannelPreference::usagePage)},
            {"Commands", "ReportId",
             OptionalNumber("any", 0xFF, &DeviceDescription::command,
                            &ChannelPreference::reportId)},
            {"Commands", "ReadBackId",
             OptionalNumber("none", 0xFF, &DeviceDescription::readBackId)},
            {"Chunks", "UsagePage",
             OptionalNumber("any", 0xFFFF, &DeviceDescription::chunk,
                            &ChannelPreference::usagePage)},
            {"Chunks", "ReportId",
             OptionalNumber("any", 0xFF, &DeviceDescription::chunk, &ChannelPreference::reportId)},
            {"Chunks", "Report",
             [](Parser& p, std::string_view v) -> std::string {
                 if (SameWord(v, "any"))
                     p.d.chunk.report = ChunkReport::Any;
                 else if (SameWord(v, "output"))
                     p.d.chunk.report = ChunkReport::Output;
                 else if (SameWord(v, "feature"))
                     p.d.chunk.report = ChunkReport::Feature;
                 else
                     return "not one of any, output, feature";
                 return {};
             }},
            {"Events", "ReportId",
             OptionalNumber("any", 0xFF, &DeviceDescription::event, &EventFormat::reportId)},
            {"Events", "UsagePage",
             OptionalNumber("vendor", 0xFFFF, &DeviceDescription::event, &EventFormat::usagePage)},
            {"Events", "Length",
             [](Parser& p, std::string_view v) -> std::string {
                 const auto n = Number(v, kLongestReport);
                 if (!n || *n < 2)
                     return "not a length of 2 to " + std::to_string(kLongestReport) + " bytes";
                 p.d.event.length = static_cast<std::uint16_t>(*n);
                 return {};
             }},
            {"Events", "TagOffset",
             [](Parser& p, std::string_view v) -> std::string {
                 if (SameWord(v, "none")) {
                     p.d.event.tag.reset();
                     return {};
                 }
                 if (!p.d.event.tag)
                     p.d.event.tag = EventField{};
                 return Field(*p.d.event.tag, Part::Offset, v);
             }},
            {"Events", "TagSize",
             [](Parser& p, std::string_view v) { return p.TagField(Part::Size, v); }},
            {"Events", "TagMask",
             [](Parser& p, std::string_view v) { return p.TagField(Part::Mask, v); }},
            {"Events", "TagValue",
             [](Parser& p, std::string_view v) -> std::string {
                 const auto n = Number(v, 0xFFFFFFFFu);
                 if (!n)
                     return "not a number";
                 p.d.event.tagValue = *n;
                 return {};
             }},
            {"Events", "CategoryOffset", EventFieldPart(&EventFormat::category, Part::Offset)},
            {"Events", "CategorySize", EventFieldPart(&EventFormat::category, Part::Size)},
            {"Events", "CategoryMask", EventFieldPart(&EventFormat::category, Part::Mask)},
            {"Events", "DataOffset", EventFieldPart(&EventFormat::data, Part::Offset)},
            {"Events", "DataSize", EventFieldPart(&EventFormat::data, Part::Size)},
            {"Events", "DataMask", EventFieldPart(&EventFormat::data, Part::Mask)},
        };
        return rows;
    }

    std::string TagField(Part part, std::string_view v) {
        if (!d.event.tag)
            return "given while TagOffset is none";
        return Field(*d.event.tag, part, v);
    }

    // "Category.<raw> = <category>": one row of the category table.
    std::string Category(std::string_view rawText, std::string_view v) {
        const auto raw = Number(rawText, kWidestValue);
        if (!raw)
            return "the category on the wire is not a number up to 65535";
        const auto category = Number(v, kWidestValue);
        if (!category)
            return "not a category up to 65535";
        d.event.categories.push_back(
            {static_cast<std::uint16_t>(*raw), static_cast<std::uint16_t>(*category)});
        return {};
    }

    // The problem of one line; empty when it was taken.
    std::string Line(std::string_view line) {
        if (line.empty() || line.front() == ';' || line.front() == '#')
            return {};
        if (line.front() == '[') {
            if (line.back() != ']')
                return "a section header without its closing bracket";
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            for (const char* known : {"Device", "Commands", "Chunks", "Events"})
                if (SameWord(name, known)) {
                    section = known;
                    return {};
                }
            return "unknown section [" + std::string(name) + "]";
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            return "neither a section, a key = value, nor a comment";
        const std::string_view key = Trim(line.substr(0, eq));
        const std::string_view value = Trim(line.substr(eq + 1));
        if (section.empty())
            return "key " + std::string(key) + " before any section";
        const std::string id = Lower(section + "." + std::string(key));
        if (!seen.insert(id).second)
            return "[" + section + "] " + std::string(key) + " is given twice";
        const std::string_view prefix = "Category.";
        if (section == "Events" && key.size() > prefix.size() &&
            SameWord(key.substr(0, prefix.size()), prefix)) {
            const std::string problem = Category(key.substr(prefix.size()), value);
            return problem.empty() ? problem : std::string(key) + ": " + problem;
        }
        for (const Row& row : Rows()) {
            if (section != row.section || !SameWord(key, row.key))
                continue;
            const std::string problem = row.set(*this, value);
            return problem.empty()
                       ? problem
                       : std::string(row.key) + " = " + std::string(value) + ": " + problem;
        }
        return "unknown key " + std::string(key) + " in [" + section + "]";
    }

    // What the keys say together; empty when it holds together.
    std::string Check() const {
        if (d.vendorId.has_value() != d.productId.has_value())
            return "VendorId and ProductId are given only together";
        const EventFormat& e = d.event;
        struct Named {
            const char* name;
            const EventField* field;
        };
        std::vector<Named> fields = {{"Category", &e.category}, {"Data", &e.data}};
        if (e.tag)
            fields.insert(fields.begin(), {"Tag", &*e.tag});
        for (const Named& n : fields) {
            const EventField& f = *n.field;
            const std::string name = n.name;
            if (f.size < 1 || f.size > 4)
                return name + "Size is not 1 to 4 bytes";
            if (f.offset == 0)
                return name + "Offset 0 is the report id byte";
            if (std::size_t{f.offset} + f.size > e.length)
                return name + "Offset " + std::to_string(f.offset) + " with " + name + "Size " +
                       std::to_string(f.size) + " lies beyond the report length " +
                       std::to_string(e.length);
            if (f.mask == 0)
                return name + "Mask is zero";
            if (f.size < 4 && (f.mask >> (8 * f.size)) != 0)
                return name + "Mask is wider than its " + std::to_string(f.size) + " bytes";
            const std::uint32_t run = f.mask >> std::countr_zero(f.mask);
            if ((run & (run + 1)) != 0)
                return name + "Mask is not one run of bits";
            if (name != "Tag" && run > kWidestValue)
                return name + "Mask is wider than 16 bits";
        }
        for (std::size_t a = 0; a < fields.size(); ++a)
            for (std::size_t b = a + 1; b < fields.size(); ++b) {
                const auto x = Coverage(*fields[a].field, e.length);
                const auto y = Coverage(*fields[b].field, e.length);
                for (std::size_t i = 0; i < x.size(); ++i)
                    if ((x[i] & y[i]) != 0)
                        return std::string(fields[a].name) + " and " + fields[b].name +
                               " share bits of byte " + std::to_string(i);
            }
        if (e.tag && e.tagValue > (e.tag->mask >> std::countr_zero(e.tag->mask)))
            return "TagValue does not fit in TagMask";
        const std::uint32_t categoryMost = e.category.mask >> std::countr_zero(e.category.mask);
        auto table = e.categories;
        for (const CategoryMapping& m : table)
            if (m.raw > categoryMost)
                return "Category." + Hex4(m.raw) + " does not fit in CategoryMask";
        std::sort(table.begin(), table.end(),
                  [](const CategoryMapping& a, const CategoryMapping& b) { return a.raw < b.raw; });
        for (std::size_t i = 1; i < table.size(); ++i)
            if (table[i].raw == table[i - 1].raw)
                return "Category." + Hex4(table[i].raw) + " is mapped twice";
        std::sort(table.begin(), table.end(),
                  [](const CategoryMapping& a, const CategoryMapping& b) {
                      return a.category < b.category;
                  });
        for (std::size_t i = 1; i < table.size(); ++i)
            if (table[i].category == table[i - 1].category)
                return "Category." + Hex4(table[i - 1].raw) + " and Category." +
                       Hex4(table[i].raw) + " both give " + Hex4(table[i].category);
        return {};
    }
};

}  // namespace

DescriptionLoad ParseDescription(std::string_view text, const std::string& fileName) {
    Parser parser;
    std::size_t lineNumber = 0;
    auto refuse = [&](const std::string& problem) {
        DescriptionLoad load;
        load.problem = fileName + (lineNumber > 0 ? " line " + std::to_string(lineNumber) : "") +
                       ": " + problem + "; the built-in description is used";
        return load;
    };
    // A byte-order mark is what some editors start a file with.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.find('\0') != std::string_view::npos)
            return refuse("a NUL byte: not a text file");
        const std::string problem = parser.Line(line);
        if (!problem.empty())
            return refuse(problem);
    }
    lineNumber = 0;
    const std::string problem = parser.Check();
    if (!problem.empty())
        return refuse(problem);
    return {parser.d, fileName, {}};
}

std::string DescriptionLine(const DescriptionLoad& load) {
    if (!load.problem.empty())
        return "device description: " + load.problem;
    return "device description: " + load.source;
}

std::optional<std::uint32_t> DecodeEvent(const EventFormat& format,
                                         std::span<const std::uint8_t> report) {
    if (report.size() < format.length || report.empty())
        return std::nullopt;
    if (format.reportId && report[0] != *format.reportId)
        return std::nullopt;
    if (format.tag) {
        const auto tag = ReadField(*format.tag, report);
        if (!tag || *tag != format.tagValue)
            return std::nullopt;
    }
    const auto raw = ReadField(format.category, report);
    const auto data = ReadField(format.data, report);
    if (!raw || !data)
        return std::nullopt;
    std::uint32_t category = *raw;
    if (!format.categories.empty()) {
        const auto it = std::find_if(format.categories.begin(), format.categories.end(),
                                     [&](const CategoryMapping& m) { return m.raw == *raw; });
        if (it == format.categories.end())
            return std::nullopt;
        category = it->category;
    }
    return ((category & 0xFFFF) << 16) | (*data & 0xFFFF);
}

std::vector<std::uint8_t> EncodeEvent(const EventFormat& format, std::uint32_t code,
                                      std::size_t length) {
    std::vector<std::uint8_t> out(std::max<std::size_t>(length, format.length), 0);
    if (format.reportId)
        out[0] = *format.reportId;
    std::uint32_t raw = code >> 16;
    if (!format.categories.empty()) {
        const auto it = std::find_if(format.categories.begin(), format.categories.end(),
                                     [&](const CategoryMapping& m) { return m.category == raw; });
        if (it == format.categories.end())
            return {};
        raw = it->raw;
    }
    if (format.tag && !WriteField(*format.tag, format.tagValue, out))
        return {};
    if (!WriteField(format.category, raw, out) || !WriteField(format.data, code & 0xFFFF, out))
        return {};
    return out;
}

bool CarriesEvents(const EventFormat& format, const CollectionInfo& collection) {
    const bool page = format.usagePage ? collection.usagePage == *format.usagePage
                                       : IsVendorPage(collection.usagePage);
    return page && collection.input.length > 0;
}

}  // namespace korrin
