// Random profile records that survive a save and a load byte for byte: every
// field random, texts of printable characters inside their fields (no blanks
// at either end and no enclosing quotes, which the file format trims), bytes
// that no key stores left 0.
#pragma once

#include <cstring>
#include <random>
#include <string>

#include "common/settings/settings_block.h"

namespace samples {

template <std::size_t N>
void RandomText(std::mt19937& rng, char (&field)[N]) {
    std::uniform_int_distribution<std::size_t> length(0, N - 1);
    std::uniform_int_distribution<int> ch(0x21, 0x7E);  // no blank at the ends
    std::uniform_int_distribution<int> inner(0x20, 0x7E);
    const std::size_t n = length(rng);
    std::memset(field, 0, N);
    for (std::size_t i = 0; i < n; ++i) {
        int c = (i == 0 || i + 1 == n) ? ch(rng) : inner(rng);
        // No quote at the start: a quoted value loses its quotes when read.
        if (i == 0 && (c == '"' || c == '\''))
            c = 'Q';
        field[i] = static_cast<char>(c);
    }
}

inline void RandomProfile(std::mt19937& rng, settings::ProfileRecord& p) {
    std::memset(&p, 0, sizeof p);
    RandomText(rng, p.ProFileName);
    RandomText(rng, p.GameFile);
    std::uniform_int_distribution<std::uint32_t> any;
    std::uniform_int_distribution<int> byte(0, 255);
    auto* bytes = reinterpret_cast<unsigned char*>(&p);
    // Every int field from DbleClickSpeed to HeartBSpeed, reserved908 excepted.
    for (std::size_t off = offsetof(settings::ProfileRecord, DbleClickSpeed);
         off < offsetof(settings::ProfileRecord, dpiStepFlag); off += 4) {
        if (off == offsetof(settings::ProfileRecord, reserved908))
            continue;
        const std::uint32_t v = any(rng);
        std::memcpy(bytes + off, &v, 4);
    }
    for (auto& b : p.dpiStepFlag) b = static_cast<std::uint8_t>(byte(rng));
    for (auto& b : p.dpibyDpiIndicator) b = static_cast<std::uint8_t>(byte(rng));
    p.DpiIndicationType = static_cast<std::uint8_t>(byte(rng));
    for (auto& c : p.LedDPIColor) c = any(rng);
    // Button records are stored whole: every byte may be anything.
    auto* buttons = reinterpret_cast<unsigned char*>(p.MacroKeyInfo);
    for (std::size_t i = 0; i < sizeof p.MacroKeyInfo; ++i) {
        buttons[i] = static_cast<unsigned char>(byte(rng));
    }
}

// A profile whose 16 buttons each carry a full 40-event macro.
inline void MacroHeavyProfile(settings::ProfileRecord& p, int index) {
    settings::FillDefaultProfile(p, index, settings::DefaultsFor::Option);
    for (int b = 0; b < settings::kButtonCount; ++b) {
        settings::ButtonAssignment& info = p.MacroKeyInfo[b];
        info.actionCode = settings::action::kMacro;
        std::snprintf(info.macroName, sizeof info.macroName, "macro %d", b);
        info.repeatCount = 1;
        info.eventCount = settings::kMaxMacroEvents;
        for (int e = 0; e < settings::kMaxMacroEvents; ++e) {
            info.events[e].keyCode = static_cast<std::uint8_t>(4 + (e / 2) % 26);
            info.events[e].state = static_cast<std::uint8_t>(e % 2 == 0 ? 1 : 2);
            info.events[e].delayMs = static_cast<std::uint16_t>(10 + e);
        }
    }
}

}  // namespace samples
