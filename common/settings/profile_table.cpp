#include "common/settings/profile_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace settings {

namespace {

constexpr ProfileField Row(const char* key, FieldType type, std::size_t offset, std::size_t size,
                           int count) {
    return ProfileField{key, type, offset, size / static_cast<std::size_t>(count), count};
}

// A row of `n` keys spread evenly over the member `name`.
#define FIELDS(name, type, n) \
    Row(#name, FieldType::type, offsetof(ProfileRecord, name), sizeof(ProfileRecord::name), n)
#define FIELD(name, type) FIELDS(name, type, 1)

// Rows in the loader's order.
constexpr std::array<ProfileField, 38> kFields = {{
    FIELD(ProFileName, String).FreshFrom(FreshValue::ProfileName),  // 0
    FIELD(GameFile, String),                                        // 1
    FIELD(DbleClickSpeed, Int).Fresh({500}).NotNegative(),          // 2
    FIELD(ScrollWheelSpeed, Int).Fresh({3}).NotNegative(),          // 3
    FIELD(ScrollWheelFlag, Int).Fresh({0}).Range(0, 1),             // 4
    FIELD(MouseSpeed, Int).Fresh({10}).NotNegative(),               // 5
    FIELD(Acceleration, Int).Fresh({10}).Range(0, 19),              // 6
    FIELD(AccelerationFlag, Int).Fresh({0}).Range(0, 1),            // 7
    FIELD(MouseTrails, Int).Fresh({4}).Range(2, 7),                 // 8
    FIELD(bMouseTrails, Int).Fresh({0}).Range(0, 1),                // 9
    FIELD(TiltSpeed, Int).Fresh({3}).NotNegative(),                 // 10
    FIELD(PollingRate, Int).Fresh({2}).Range(0, 3),                 // 11
    FIELD(MediaOption, Int).Fresh({0}).Range(0, 3),                 // 12
    FIELD(Orientation, Int).Fresh({0}).Range(0, 1),                 // 13
    FIELD(XYSynchronous, Int).Fresh({1}).Range(0, 1),               // 14
    FIELD(Sensitivity_X, Int).Fresh({10}).NotNegative(),            // 15
    FIELD(Sensitivity_Y, Int).Fresh({10}).NotNegative(),            // 16
    FIELD(Cpi_X, Int).Fresh({0}).NotNegative(),                     // 17
    FIELD(Cpi_Y, Int).Fresh({2}).NotNegative(),                     // 18
    FIELD(XYCpiFlag, Int).Fresh({0}).Range(0, 1),                   // 19
    FIELDS(LedDPIColor, Int, 4)
        .Fresh({0xFF0000, 0x00FF00, 0xFF00FF, 0x0000FF})
        .LowBits(0xFFFFFF),  // 20
    // The mouse is sent level - 1 in one byte.
    FIELDS(CpiLevel_X, Int, 5).Fresh({4, 15, 30, 60, 160}).Range(1, 256),          // 21
    FIELDS(CpiLevel_Y, Int, 5).Fresh({4, 15, 30, 60, 160}).Range(1, 256),          // 22
    FIELD(CpiStep, Int).Fresh({0}).Range(0, 4),                                    // 23
    FIELD(ColorFlag, Int).Fresh({1}).NotNegative(),                                // 24
    FIELD(LightSwitch, Int).Fresh({2}).Range(0, 3),                                // 25
    FIELD(LightType, Int).Fresh({2}).Range(0, 3),                                  // 26
    FIELD(ColorChangeMode, Int).Fresh({0}).NotNegative(),                          // 27
    FIELD(OTGSpeed, Int).Fresh({10}).NotNegative(),                                // 28
    FIELD(HeartBFlag, Int).Fresh({1}).Range(0, 1),                                 // 29
    FIELD(HeartBSpeed, Int).Fresh({20}).NotNegative(),                             // 30
    FIELDS(dpiStepFlag, Byte, 8).Fresh({1, 1, 1, 1, 0, 0, 0, 0}).Range(0, 1),      // 31
    FIELDS(dpibyDpiIndicator, Byte, 10).Fresh({1, 2, 3, 4, 4, 5, 5, 6, 6, 0}),     // 32
    FIELDS(ColorOptions, Int, 8).Fresh({18, 0, 11, 31, 0, 0, 0, 0}).Range(0, 32),  // 33
    FIELDS(ColorType, Int, 8).FreshFrom(FreshValue::ColourSource).Range(0, 1),     // 34
    FIELDS(ClCustom, Int, 8)
        .Fresh({0x000000, 0xFFD900, 0x0000FF, 0x00FF00, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0xFFFFFF})
        .LowBits(0xFFFFFF),                                                     // 35
    FIELD(DpiIndicationType, Byte).Fresh({1}),                                  // 36
    FIELDS(MacroKeyInfo, Struct, kButtonCount).FreshFrom(FreshValue::Buttons),  // 37
}};

#undef FIELD
#undef FIELDS

// Every byte of the record has a key except the two reserved ones.
constexpr std::size_t StoredBytes() {
    std::size_t total = 0;
    for (const ProfileField& f : kFields) total += f.size * static_cast<std::size_t>(f.count);
    return total;
}
static_assert(StoredBytes() == sizeof(ProfileRecord) - sizeof(ProfileRecord::reserved908) -
                                   sizeof(ProfileRecord::reserved1015));

// The saver differs from the loader only in where PollingRate, MediaOption
// and the LED DPI colours fall.
constexpr std::array<int, 38> kSaveOrder = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 12, 11,
                                            20, 13, 14, 15, 16, 17, 18, 19, 21, 22, 23, 24, 25,
                                            26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37};

constexpr bool IsNumeric(const ProfileField& f) {
    return f.type == FieldType::Int || f.type == FieldType::Byte;
}

constexpr bool Accepts(const ProfileField& f, std::int64_t value) {
    switch (f.valid) {
        case Valid::InRange:
            return value >= f.low && value <= f.high;
        case Valid::LowBits:
            return (value & ~f.high) == 0;
        case Valid::Any:
            break;
    }
    return true;
}

constexpr std::int64_t Fresh(const ProfileField& f, int index, DefaultsFor who) {
    if (f.fresh == FreshValue::ColourSource)
        return who == DefaultsFor::Option ? 1 : 0;
    return f.numbers[static_cast<std::size_t>(f.numberCount == 1 ? 0 : index)];
}

// A fresh profile is one the repair leaves alone: every fresh number is a
// value its row accepts, and each row gives one number or one per key.
constexpr bool FreshNumbersAreValid() {
    for (const ProfileField& f : kFields) {
        if (!IsNumeric(f))
            continue;
        if (f.count > kMaxFieldElements || (f.numberCount != 1 && f.numberCount != f.count))
            return false;
        for (int i = 0; i < f.count; ++i) {
            if (!Accepts(f, Fresh(f, i, DefaultsFor::Monitor)) ||
                !Accepts(f, Fresh(f, i, DefaultsFor::Option)))
                return false;
        }
    }
    return true;
}
static_assert(FreshNumbersAreValid());

unsigned char* At(ProfileRecord& p, const ProfileField& f, int index) {
    return reinterpret_cast<unsigned char*>(&p) + f.offset +
           f.size * static_cast<std::size_t>(index);
}
const unsigned char* At(const ProfileRecord& p, const ProfileField& f, int index) {
    return reinterpret_cast<const unsigned char*>(&p) + f.offset +
           f.size * static_cast<std::size_t>(index);
}

void SetNumber(ProfileRecord& p, const ProfileField& f, int index, std::int64_t value) {
    unsigned char* dst = At(p, f, index);
    if (f.type == FieldType::Byte) {
        *dst = static_cast<unsigned char>(value);
    } else {
        const auto v = static_cast<std::int32_t>(value);
        std::memcpy(dst, &v, sizeof v);
    }
}

void Terminate(unsigned char* field, std::size_t size) {
    field[size - 1] = '\0';
}

void RepairButton(ButtonAssignment& info, int button) {
    info.buttonIndex = static_cast<std::uint8_t>(button);
    info.eventCount = std::min<std::uint16_t>(info.eventCount, kMaxMacroEvents);
    info.macroName[sizeof info.macroName - 1] = '\0';
    info.programPath[sizeof info.programPath - 1] = '\0';
}

}  // namespace

std::span<const ProfileField> ProfileFields() {
    return kFields;
}
std::span<const int> ProfileSaveOrder() {
    return kSaveOrder;
}

std::string FieldKey(const ProfileField& field, int index) {
    std::string key;
    FieldKeyInto(field, index, key);
    return key;
}

void FieldKeyInto(const ProfileField& field, int index, std::string& out) {
    out.assign(field.key);
    if (field.count == 1)
        return;
    static_assert(std::all_of(kFields.begin(), kFields.end(),
                              [](const ProfileField& f) { return f.count <= 100; }),
                  "element numbers are written with at most two digits");
    if (index >= 10)
        out += static_cast<char>('0' + index / 10);
    out += static_cast<char>('0' + index % 10);
}

std::int64_t FieldNumber(const ProfileRecord& p, const ProfileField& f, int index) {
    const unsigned char* src = At(p, f, index);
    if (f.type == FieldType::Byte)
        return *src;
    std::int32_t v;
    std::memcpy(&v, src, sizeof v);
    return v;
}

std::int64_t FreshNumber(const ProfileField& field, int index, DefaultsFor who) {
    return Fresh(field, index, who);
}

bool ValidNumber(const ProfileField& field, std::int64_t value) {
    return Accepts(field, value);
}

namespace {

// Everything of a fresh profile but its name, which is all that depends on
// the profile's number.
std::unique_ptr<const ProfileRecord> FreshWithoutName(DefaultsFor who) {
    auto p = std::make_unique<ProfileRecord>();
    std::memset(p.get(), 0, sizeof *p);
    for (const ProfileField& f : kFields) {
        if (IsNumeric(f)) {
            for (int i = 0; i < f.count; ++i) SetNumber(*p, f, i, Fresh(f, i, who));
        } else if (f.fresh == FreshValue::Buttons) {
            for (int b = 0; b < kButtonCount; ++b) FillDefaultButton(p->MacroKeyInfo[b], b);
        }
    }
    return p;
}

}  // namespace

void FillDefaultProfile(ProfileRecord& p, int index, DefaultsFor who) {
    // Built once for each kind: a load fills up to five profiles, and a
    // fresh profile is some hundred fields.
    static const std::unique_ptr<const ProfileRecord> forMonitor =
        FreshWithoutName(DefaultsFor::Monitor);
    static const std::unique_ptr<const ProfileRecord> forOption =
        FreshWithoutName(DefaultsFor::Option);
    std::memcpy(&p, who == DefaultsFor::Monitor ? forMonitor.get() : forOption.get(), sizeof p);
    for (const ProfileField& f : kFields) {
        if (f.fresh == FreshValue::ProfileName)
            std::snprintf(reinterpret_cast<char*>(At(p, f, 0)), f.size, "Default%d", index + 1);
    }
}

void SanitizeProfile(ProfileRecord& p) {
    for (const ProfileField& f : kFields) {
        for (int i = 0; i < f.count; ++i) {
            switch (f.type) {
                case FieldType::String:
                    Terminate(At(p, f, i), f.size);
                    break;
                case FieldType::Struct:
                    RepairButton(p.MacroKeyInfo[i], i);
                    break;
                case FieldType::Int:
                case FieldType::Byte: {
                    const std::int64_t value = FieldNumber(p, f, i);
                    if (Accepts(f, value))
                        break;
                    SetNumber(p, f, i,
                              f.valid == Valid::LowBits ? (value & f.high)
                                                        : Fresh(f, i, DefaultsFor::Option));
                    break;
                }
            }
        }
    }
    p.reserved908 = 0;
    p.reserved1015 = 0;
}

}  // namespace settings
