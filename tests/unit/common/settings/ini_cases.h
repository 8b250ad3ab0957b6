// One list of private-profile cases that runs against our engine (native
// tests) and against the system's profile functions (Wine tests), so the two
// cannot drift apart. The expected values are what the system does.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/settings/ini_file.h"

namespace ini_cases {

enum class Op { Int, String, Struct };

struct ReadCase {
    const char* name;
    const char* text;  // nullptr: the file does not exist
    Op op;
    const char* section;
    const char* key;
    std::int32_t expectInt;    // Op::Int, read with default -1
    const char* expectString;  // Op::String, read with default "DEF"
    bool expectOk;             // Op::Struct, of as many bytes as expectBytes shows
    const char* expectBytes;   // Op::Struct: the bytes afterwards (each starts as AA)
};

inline constexpr ReadCase kReadCases[] = {
    {"blanks around a number", "[S]\r\na=   12  \r\n", Op::Int, "S", "a", 12, "", false, ""},
    {"blanks around a text", "[S]\r\na=   12  \r\n", Op::String, "S", "a", 0, "12", false, ""},
    {"tab before a number", "[S]\r\na=\t12\r\n", Op::Int, "S", "a", 12, "", false, ""},
    {"number with trailing letters", "[S]\r\na=12abc\r\n", Op::Int, "S", "a", 12, "", false, ""},
    {"text with trailing letters", "[S]\r\na=12abc\r\n", Op::String, "S", "a", 0, "12abc", false,
     ""},
    {"lone minus", "[S]\r\na=-\r\n", Op::Int, "S", "a", 0, "", false, ""},
    {"plus sign", "[S]\r\na=+5\r\n", Op::Int, "S", "a", 5, "", false, ""},
    {"double sign", "[S]\r\na=--5\r\n", Op::Int, "S", "a", 0, "", false, ""},
    {"blank after the sign", "[S]\r\na=  -  3\r\n", Op::Int, "S", "a", 0, "", false, ""},
    {"empty value is the default", "[S]\r\na=\r\n", Op::Int, "S", "a", -1, "", false, ""},
    {"empty text is not the default", "[S]\r\na=\r\n", Op::String, "S", "a", 0, "", false, ""},
    {"negative", "[S]\r\na=-7\r\n", Op::Int, "S", "a", -7, "", false, ""},
    {"hex prefix", "[S]\r\na=0x10\r\n", Op::Int, "S", "a", 16, "", false, ""},
    {"upper-case hex prefix is not one", "[S]\r\na=0X1f\r\n", Op::Int, "S", "a", 0, "", false, ""},
    {"negative hex", "[S]\r\na=-0x10\r\n", Op::Int, "S", "a", -16, "", false, ""},
    {"binary prefix", "[S]\r\na=0b11\r\n", Op::Int, "S", "a", 3, "", false, ""},
    {"octal prefix", "[S]\r\na=0o17\r\n", Op::Int, "S", "a", 15, "", false, ""},
    {"leading zero stays decimal", "[S]\r\na=010\r\n", Op::Int, "S", "a", 10, "", false, ""},
    {"decimal point ends the number", "[S]\r\na=12.5\r\n", Op::Int, "S", "a", 12, "", false, ""},
    {"overflow wraps", "[S]\r\na=99999999999\r\n", Op::Int, "S", "a", 1215752191, "", false, ""},
    {"all ones", "[S]\r\na=4294967295\r\n", Op::Int, "S", "a", -1, "", false, ""},
    {"lowest int", "[S]\r\na=-2147483648\r\n", Op::Int, "S", "a", INT32_MIN, "", false, ""},
    {"29 digits are read", "[S]\r\na=00000000000000000000000000012\r\n", Op::Int, "S", "a", 12, "",
     false, ""},
    {"30 digits are cut to 29", "[S]\r\na=000000000000000000000000000012\r\n", Op::Int, "S", "a", 1,
     "", false, ""},
    {"33 digits are cut to 29", "[S]\r\na=000000000000000000000000000000012\r\n", Op::Int, "S", "a",
     0, "", false, ""},
    {"quoted number", "[S]\r\na=\"12\"\r\n", Op::Int, "S", "a", 12, "", false, ""},
    {"double quotes removed", "[S]\r\na=\"q\"\r\n", Op::String, "S", "a", 0, "q", false, ""},
    {"single quotes removed", "[S]\r\na='q'\r\n", Op::String, "S", "a", 0, "q", false, ""},
    {"unbalanced quote kept", "[S]\r\na=\"q\r\n", Op::String, "S", "a", 0, "\"q", false, ""},
    {"mixed quotes kept", "[S]\r\na=\"q'\r\n", Op::String, "S", "a", 0, "\"q'", false, ""},
    {"only outer quotes removed", "[S]\r\na=\"x\"y\"\r\n", Op::String, "S", "a", 0, "x\"y", false,
     ""},
    {"blanks inside quotes kept", "[S]\r\na= \"  z  \" \r\n", Op::String, "S", "a", 0, "  z  ",
     false, ""},
    // UTF-8; text of a legacy code page is converted by the system adapter.
    {"bytes above 0x7F pass unchanged", "[S]\r\na=\xC3\xA9t\xC3\xA9 \xC3\x84\xC3\x96\r\n",
     Op::String, "S", "a", 0, "\xC3\xA9t\xC3\xA9 \xC3\x84\xC3\x96", false, ""},
    {"duplicate key: first wins", "[S]\r\na=1\r\nA=2\r\n", Op::Int, "S", "a", 1, "", false, ""},
    {"keys ignore case", "[S]\r\na=1\r\n", Op::Int, "s", "A", 1, "", false, ""},
    {"duplicate section: later one unread", "[S]\r\na=1\r\n[T]\r\nb=2\r\n[s]\r\nc=3\r\n", Op::Int,
     "S", "c", -1, "", false, ""},
    {"duplicate section: first one read", "[S]\r\na=1\r\n[T]\r\nb=2\r\n[s]\r\na=9\r\n", Op::Int,
     "S", "a", 1, "", false, ""},
    {"section after a duplicate", "[S]\r\na=1\r\n[T]\r\nb=2\r\n[s]\r\na=9\r\n", Op::Int, "T", "b",
     2, "", false, ""},
    {"key without equals sign", "[S]\r\nnoeq\r\n", Op::String, "S", "noeq", 0, "DEF", false, ""},
    {"blanks around key and section", " [ T ] \r\n  sp key  =  v v  \r\n", Op::String, "T",
     "sp key", 0, "v v", false, ""},
    {"text after the section bracket", "[S] junk\r\na=4\r\n", Op::Int, "S", "a", 4, "", false, ""},
    {"line feeds only, no final one", "[S]\na=1\nb=2", Op::Int, "S", "b", 2, "", false, ""},
    {"missing key", "[S]\r\na=1\r\n", Op::Int, "S", "zz", -1, "", false, ""},
    {"missing section", "[S]\r\na=1\r\n", Op::String, "Q", "a", 0, "DEF", false, ""},
    {"missing file int", nullptr, Op::Int, "S", "a", -1, "", false, ""},
    {"missing file text", nullptr, Op::String, "S", "a", 0, "DEF", false, ""},
    {"missing file struct", nullptr, Op::Struct, "S", "a", 0, "", false, "AAAAAA"},
    {"struct", "[S]\r\nv=0102FF02\r\n", Op::Struct, "S", "v", 0, "", true, "0102FF"},
    {"struct lower-case hex", "[S]\r\nv=0102ff02\r\n", Op::Struct, "S", "v", 0, "", true, "0102FF"},
    {"struct wrong checksum writes then fails", "[S]\r\nv=0102FF03\r\n", Op::Struct, "S", "v", 0,
     "", false, "0102FF"},
    {"struct one digit short", "[S]\r\nv=0102FF0\r\n", Op::Struct, "S", "v", 0, "", false,
     "AAAAAA"},
    {"struct odd length, one extra digit", "[S]\r\nv=0102FF020\r\n", Op::Struct, "S", "v", 0, "",
     true, "0102FF"},
    {"struct extra text ignored", "[S]\r\nv=0102FF02ZZZZ\r\n", Op::Struct, "S", "v", 0, "", true,
     "0102FF"},
    {"struct size of one byte short", "[S]\r\nv=010203\r\n", Op::Struct, "S", "v", 0, "", false,
     "AAAAAA"},
    {"struct letter beyond F", "[S]\r\nv=01G2FF02\r\n", Op::Struct, "S", "v", 0, "", true,
     "0102FF"},
    {"struct of nine bytes, small and late letters", "[S]\r\nv=a1G2zz01ff00Ab7z1044\r\n",
     Op::Struct, "S", "v", 0, "", true, "A1025301FF00AB9310"},
    {"struct blank stops decoding", "[S]\r\nv=010 FF02\r\n", Op::Struct, "S", "v", 0, "", false,
     "01AAAA"},
    {"struct quoted", "[S]\r\nv=\"0102FF02\"\r\n", Op::Struct, "S", "v", 0, "", false, "AAAAAA"},
    {"struct punctuation", "[S]\r\nv=0:020202\r\n", Op::Struct, "S", "v", 0, "", false, "AAAAAA"},
    {"struct letters as digits", "[S]\r\nv=0z0z0z0z\r\n", Op::Struct, "S", "v", 0, "", false,
     "232323"},
    {"struct x as digit", "[S]\r\nv=01x2FF02\r\n", Op::Struct, "S", "v", 0, "", false, "0112FF"},
    {"struct checksum with letter beyond F", "[S]\r\nv=0102FFG2\r\n", Op::Struct, "S", "v", 0, "",
     true, "0102FF"},
    {"struct missing key", "[S]\r\nv=0102FF02\r\n", Op::Struct, "S", "w", 0, "", false, "AAAAAA"},
};

struct Write {
    const char* section;
    const char* key;
    const char* value;
};

struct WriteCase {
    const char* name;
    const char* before;  // nullptr: no file yet
    Write writes[4];
    const char* after;
};

inline constexpr WriteCase kWriteCases[] = {
    {"new file", nullptr, {{"S", "a", "3"}}, "[S]\r\na=3\r\n"},
    {"empty file", "", {{"S", "a", "3"}}, "[S]\r\na=3\r\n"},
    {"rewrite normalises and appends",
     "; comment\r\n\r\n[S]\r\n  a =  1  \r\nnoeq\r\n\r\n[T]\r\nb=2\r\n[S]\r\nc=3\r\n",
     {{"S", "a", "9"}, {"S", "c", "8"}, {"S", "d", "7"}, {"U", "e", "6"}},
     "; comment\r\n[S]\r\na=9\r\nnoeq\r\nc=8\r\nd=7\r\n[T]\r\nb=2\r\n[S]\r\nc=3\r\n[U]\r\ne=6\r\n"},
    {"values are trimmed, quotes kept",
     nullptr,
     {{"S", "k", "v v "}, {"S", "l", " lead"}, {"S", "B", "\"q\""}, {"S", "C", ""}},
     "[S]\r\nk=v v\r\nl=lead\r\nB=\"q\"\r\nC=\r\n"},
    {"existing key keeps its spelling", "[S]\r\na=1\r\n", {{"s", "A", "9"}}, "[S]\r\na=9\r\n"},
    {"line feeds become CR LF", "[S]\na=1\nb=2", {{"S", "a", "3"}}, "[S]\r\na=3\r\nb=2\r\n"},
    {"equal value leaves the file alone",
     "[S]\r\n\r\na = 1\r\n",
     {{"S", "a", "1"}},
     "[S]\r\n\r\na = 1\r\n"},
    {"bytes above 0x7F written unchanged",
     nullptr,
     {{"S", "n", "caf\xE9 \xDF"}},
     "[S]\r\nn=caf\xE9 \xDF\r\n"},
    {"key without value gets one", "[S]\r\nnoeq\r\n", {{"S", "noeq", "5"}}, "[S]\r\nnoeq=5\r\n"},
};

// ---------------------------------------------------------------------------
// Runner shared by both test programs.

inline std::string Hex(const unsigned char* bytes, std::size_t n) {
    std::string s;
    char part[3];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(part, sizeof part, "%02X", bytes[i]);
        s += part;
    }
    return s;
}

inline std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return "<no file>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The file of case `index` of a kind, holding `text` (none when nullptr).
inline std::filesystem::path CaseFile(const std::filesystem::path& folder, const char* kind,
                                      int index, const char* text) {
    const std::filesystem::path p = folder / (kind + std::to_string(index) + ".ini");
    std::filesystem::remove(p);
    if (text != nullptr)
        WriteBytes(p, text);
    return p;
}

inline void RunReadCase(settings::IniFileSystem& files, const std::filesystem::path& folder,
                        const ReadCase& c, int index) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path p = CaseFile(folder, "read", index, c.text);
    std::unique_ptr<settings::IniFile> file = files.Open(p.string());
    ASSERT_NE(file, nullptr);
    switch (c.op) {
        case Op::Int:
            EXPECT_EQ(file->GetInt(c.section, c.key, -1), c.expectInt);
            break;
        case Op::String:
            EXPECT_EQ(file->GetString(c.section, c.key, "DEF"), c.expectString);
            break;
        case Op::Struct: {
            std::vector<unsigned char> bytes(std::strlen(c.expectBytes) / 2, 0xAA);
            EXPECT_EQ(file->GetStruct(c.section, c.key, bytes.data(), bytes.size()), c.expectOk);
            EXPECT_EQ(Hex(bytes.data(), bytes.size()), c.expectBytes);
            break;
        }
    }
}

inline void RunWriteCase(settings::IniFileSystem& files, const std::filesystem::path& folder,
                         const WriteCase& c, int index) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path p = CaseFile(folder, "write", index, c.before);
    {
        std::unique_ptr<settings::IniFile> file = files.Open(p.string());
        ASSERT_NE(file, nullptr);
        for (const Write& w : c.writes) {
            if (w.section == nullptr)
                break;
            EXPECT_TRUE(file->WriteString(w.section, w.key, w.value));
        }
        EXPECT_TRUE(file->Flush());
    }
    EXPECT_EQ(ReadBytes(p), c.after);
}

// Values longer than the 2048-byte buffer come back cut to 2047 characters;
// an integer of 40 digits is read from its first 29.
inline void RunLongValueCase(settings::IniFileSystem& files, const std::filesystem::path& folder) {
    std::string value;
    for (int i = 0; i < 3000; ++i) value += static_cast<char>('a' + i % 26);
    const std::filesystem::path p = folder / "long.ini";
    WriteBytes(p, "[S]\r\nlong=" + value + "\r\nnum=" + std::string(28, '0') + "7" +
                      std::string(11, '9') + "\r\n");
    std::unique_ptr<settings::IniFile> file = files.Open(p.string());
    const std::string got = file->GetString("S", "long", "");
    EXPECT_EQ(got.size(), 2047u);
    EXPECT_EQ(got, value.substr(0, 2047));
    EXPECT_EQ(file->GetInt("S", "num", -1), 7);
}

inline std::filesystem::path FreshFolder(const char* name) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace ini_cases
