// The profile record described once. Each row names a field's INI key, where
// it lies in the record, what a fresh profile holds there and which values
// the rest of the system can use. The profile file's loader and saver, the
// fresh profile and the repair of a profile that came from a file the user
// chose all follow from these rows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>
#include <string>

#include "common/settings/settings_block.h"

namespace settings {

// How a profile field is stored.
enum class FieldType {
    String,  // text, cut to the field
    Int,     // decimal int32, read default -1
    Byte,    // decimal, kept as its low byte (read default -1 gives 0xFF)
    Struct,  // binary button record, struct encoding
};

// What a fresh profile holds in a field beyond plain numbers.
enum class FreshValue : std::uint8_t {
    Numbers,       // the row's numbers (zero for texts)
    ProfileName,   // "Default<n+1>"
    ColourSource,  // 1 (custom colour) in Option, 0 (palette index) in Monitor
    Buttons,       // each button's default assignment
};

// Which stored numbers the rest of the system can use.
enum class Valid : std::uint8_t {
    Any,      // every value
    InRange,  // low..high; anything else is replaced by the fresh value
    LowBits,  // only the bits of `high` count (0x00BBGGRR colours); the rest are cleared
};

inline constexpr int kMaxFieldElements = 10;

// One row: `count` keys (key, or key0..key<count-1> when count > 1), each
// `size` bytes apart from `offset` in the profile record.
struct ProfileField {
    const char* key;
    FieldType type;
    std::size_t offset;
    std::size_t size;
    int count;
    FreshValue fresh = FreshValue::Numbers;
    // Element i of a fresh profile; one number serves every element.
    std::array<std::int64_t, kMaxFieldElements> numbers{};
    int numberCount = 1;
    Valid valid = Valid::Any;
    std::int64_t low = 0;
    std::int64_t high = 0;

    constexpr ProfileField Fresh(std::initializer_list<std::int64_t> values) const {
        ProfileField row = *this;
        row.numberCount = 0;
        for (std::int64_t v : values) row.numbers[static_cast<std::size_t>(row.numberCount++)] = v;
        return row;
    }
    constexpr ProfileField FreshFrom(FreshValue kind) const {
        ProfileField row = *this;
        row.fresh = kind;
        return row;
    }
    constexpr ProfileField Range(std::int64_t lowest, std::int64_t highest) const {
        ProfileField row = *this;
        row.valid = Valid::InRange;
        row.low = lowest;
        row.high = highest;
        return row;
    }
    // Counts, speeds and levels: a missing key reads as -1, which none can use.
    constexpr ProfileField NotNegative() const {
        return Range(0, std::numeric_limits<std::int32_t>::max());
    }
    constexpr ProfileField LowBits(std::int64_t mask) const {
        ProfileField row = *this;
        row.valid = Valid::LowBits;
        row.high = mask;
        return row;
    }
};

// The rows in the order the loader reads them.
std::span<const ProfileField> ProfileFields();
// The saver's order: indices into ProfileFields().
std::span<const int> ProfileSaveOrder();
// Key name of element i of a row ("CpiLevel_X3"; the bare key when count is 1).
std::string FieldKey(const ProfileField& field, int index);
// The same into `out`: the loader and saver build every key of a profile in
// one string.
void FieldKeyInto(const ProfileField& field, int index, std::string& out);

// Element i of a numeric row (Int or Byte) as stored, and as a fresh profile
// of `who` has it.
std::int64_t FieldNumber(const ProfileRecord& profile, const ProfileField& field, int index);
std::int64_t FreshNumber(const ProfileField& field, int index, DefaultsFor who);
// A number the row accepts.
bool ValidNumber(const ProfileField& field, std::int64_t value);

// Brings a profile read from a file the user chose into a state the rest of
// the system relies on: texts terminated inside their fields, each button
// record's index and event count within bounds, every number a value its row
// accepts, and the bytes no key stores 0.
void SanitizeProfile(ProfileRecord& profile);

}  // namespace settings
