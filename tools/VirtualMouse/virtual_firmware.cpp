#include "tools/VirtualMouse/virtual_firmware.h"

#include "common/text_format.h"

namespace vmouse {

namespace {

constexpr std::size_t kBlockSize = 128;
constexpr std::size_t kChunkSize = 64;

using text::Format;

const char* MouseButtonName(std::uint8_t code) {
    switch (code) {
        case 0xF0:
            return "left";
        case 0xF1:
            return "right";
        case 0xF2:
            return "middle";
        case 0xF3:
            return "forward";
        case 0xF4:
            return "back";
        default:
            return "?";
    }
}

std::string Modifiers(std::uint8_t bits) {
    std::string out;
    const char* names[4] = {"Ctrl", "Shift", "Alt", "Win"};
    for (int i = 0; i < 4; ++i) {
        if (bits & (1u << i)) {
            if (!out.empty())
                out += '+';
            out += names[i];
        }
    }
    return out.empty() ? "none" : out;
}

}  // namespace

std::string DescribeKey(const std::array<std::uint8_t, 4>& e) {
    std::string text = Format("%02X %02X %02X %02X ", e[0], e[1], e[2], e[3]);
    switch (e[0]) {
        case 0:
            if (e[1] == 0 && e[2] == 0)
                return text + "none";
            return text + Format("key %02X mods %s", e[2], Modifiers(e[1]).c_str());
        case 1:
            return text + "click " + MouseButtonName(e[2]);
        case 3:
            return text + Format("consumer %04X", (e[3] << 8) | e[2]);
        case 4:
            return text + Format("dpi function %d", e[2]);
        case 5:
            return text + Format("device function %d", e[2]);
        case 6:
            return text + Format("launch program %d", e[3]);
        case 7:
            return text + Format("profile function %d", e[2]);
        case 9:
            return text + Format("macro slot %d events %d", e[2], e[3]);
        case 10:
            return text + Format("repeat %s %d %d", e[1] == 0xF0 ? "click" : "action", e[2], e[3]);
        default:
            return text + "unknown";
    }
}

void VirtualFirmware::Reset() {
    *this = VirtualFirmware{};
}

bool VirtualFirmware::OnFeature(std::span<const std::uint8_t> r) {
    if (r.size() != 8) {
        ++counters_.badArgument;
        return false;
    }
    std::uint8_t sum = 0;
    for (int i = 0; i < 7; ++i) sum = static_cast<std::uint8_t>(sum + r[i]);
    if (static_cast<std::uint8_t>(0xFF - sum) != r[7]) {
        ++counters_.badChecksum;
        return false;
    }
    if (!pending_.empty() || pendingCode_ != 0) {
        // A new command before the announced block was complete.
        ++counters_.incompleteBlock;
        pendingCode_ = 0;
        pending_.clear();
    }
    const int arg1 = r[1];
    const int arg2 = r[2];
    const bool profileOk = arg1 >= 1 && arg1 <= kProfiles;
    switch (r[0]) {
        case 0x01:
            ++counters_.beginConfiguration;
            return true;
        case 0x02:
            if (!profileOk)
                break;
            selected_ = arg1;
            return true;
        case 0x03:
            if (!profileOk)
                break;
            profiles_[arg1 - 1].reportIntervalMs = arg2;
            return true;
        case 0x04:
            if (!profileOk)
                break;
            profiles_[arg1 - 1].dpiStage = arg2;
            return true;
        case 0x0C:
        case 0x0D:
            if (!profileOk || arg2 != 0x80)
                break;
            pendingCode_ = r[0];
            pendingTarget_ = arg1;
            return true;
        case 0x0F:
            if (arg1 < 1 || arg1 > kMacroSlots || arg2 != 0x80)
                break;
            pendingCode_ = r[0];
            pendingTarget_ = arg1;
            return true;
        default:
            ++counters_.unknownCommand;
            return false;
    }
    ++counters_.badArgument;
    return false;
}

bool VirtualFirmware::OnChunk(std::span<const std::uint8_t> chunk) {
    if (pendingCode_ == 0 || chunk.size() != kChunkSize) {
        ++counters_.unexpectedChunk;
        return false;
    }
    pending_.insert(pending_.end(), chunk.begin(), chunk.end());
    if (pending_.size() == kBlockSize)
        Complete();
    return true;
}

void VirtualFirmware::Complete() {
    const std::vector<std::uint8_t> b = std::move(pending_);
    const std::uint8_t code = pendingCode_;
    pending_.clear();
    pendingCode_ = 0;
    if (code == 0x0C) {
        ProfileState& p = profiles_[pendingTarget_ - 1];
        p.parametersSet = true;
        std::copy(b.begin(), b.end(), p.parameterBlock.begin());
        p.lighting = {b[71], b[72], b[73]};
        p.sensitivityX = b[74];
        p.sensitivityY = b[75];
        for (int i = 0; i < 4; ++i) {
            p.cpiX[i] = b[84 + i] + 1;
            p.cpiY[i] = b[92 + i] + 1;
        }
        for (int i = 0; i < kLedSlots; ++i)
            p.leds[i] = {b[104 + 3 * i], b[105 + 3 * i], b[106 + 3 * i]};
    } else if (code == 0x0D) {
        ProfileState& p = profiles_[pendingTarget_ - 1];
        p.keyMapSet = true;
        for (int k = 0; k < kButtons; ++k)
            p.keys[k] = {b[4 * k], b[4 * k + 1], b[4 * k + 2], b[4 * k + 3]};
    } else {
        MacroSlotState& m = macros_[pendingTarget_ - 1];
        m.set = true;
        m.repeat = (b[0] << 8) | b[1];
        m.events.clear();
        for (std::size_t at = 2; at + 1 < b.size(); at += 2) {
            if (b[at] == 0 && b[at + 1] == 0)
                break;
            m.events.push_back({b[at], b[at + 1]});
        }
    }
}

std::string VirtualFirmware::Dump() const {
    std::string out;
    out += Format("selected_profile %d\n", selected_);
    out += Format("begin_configuration %d\n", counters_.beginConfiguration);
    out += Format("errors checksum %d unknown %d argument %d chunk %d incomplete %d\n",
                  counters_.badChecksum, counters_.unknownCommand, counters_.badArgument,
                  counters_.unexpectedChunk, counters_.incompleteBlock);
    for (int n = 1; n <= kProfiles; ++n) {
        const ProfileState& p = profiles_[n - 1];
        out += Format("profile %d\n", n);
        out += p.reportIntervalMs < 0 ? std::string("  report_interval_ms -\n")
                                      : Format("  report_interval_ms %d\n", p.reportIntervalMs);
        out += p.dpiStage < 0 ? std::string("  dpi_stage -\n")
                              : Format("  dpi_stage %d\n", p.dpiStage);
        if (p.parametersSet) {
            out += Format("  cpi_x %d %d %d %d\n", p.cpiX[0] * 100, p.cpiX[1] * 100,
                          p.cpiX[2] * 100, p.cpiX[3] * 100);
            out += Format("  cpi_y %d %d %d %d\n", p.cpiY[0] * 100, p.cpiY[1] * 100,
                          p.cpiY[2] * 100, p.cpiY[3] * 100);
            out += Format("  sensitivity %d %d\n", p.sensitivityX, p.sensitivityY);
            out += Format("  lighting %d %d %d\n", p.lighting[0], p.lighting[1], p.lighting[2]);
            out += "  leds";
            for (const Rgb& c : p.leds) out += Format(" %02X%02X%02X", c.r, c.g, c.b);
            out += "\n";
        } else {
            out += "  parameters -\n";
        }
        if (p.keyMapSet) {
            for (int k = 0; k < kButtons; ++k)
                out += Format("  key %d ", k) + DescribeKey(p.keys[k]) + "\n";
        } else {
            out += "  keys -\n";
        }
    }
    for (int s = 1; s <= kMacroSlots; ++s) {
        const MacroSlotState& m = macros_[s - 1];
        if (!m.set)
            continue;
        out += Format("macro %d repeat %d events %d\n", s, m.repeat,
                      static_cast<int>(m.events.size()));
        for (const MacroEventState& e : m.events)
            out += Format("  %s %02X state %02X\n", (e.stateByte & 0x80) ? "release" : "press",
                          e.key, e.stateByte);
    }
    return out;
}

}  // namespace vmouse
