// Test stand-ins for the button page model: a keyboard layout with letter
// keys that can be moved, and a string table that names each id.
#pragma once

#include <map>
#include <string>

#include "common/settings/key_codes.h"
#include "option/pages/model/button_captions.h"

namespace option::testing {

// The US positions with some virtual keys exchanged, as French keyboards
// exchange A and Q.
class MovedKeysLayout final : public settings::KeyboardLayout {
  public:
    explicit MovedKeysLayout(std::map<unsigned, unsigned> swaps = {}) {
        for (const settings::KeyCodeRow& row : settings::KeyCodeTable()) {
            if (row.scanCode == 0)
                continue;
            unsigned vk = row.virtualKey;
            if (auto it = swaps.find(vk); it != swaps.end())
                vk = it->second;
            scanOf_[vk] = row.scanCode;
            vkOf_[row.scanCode] = vk;
        }
    }
    unsigned VirtualKeyToScanCode(unsigned vk) const override {
        auto it = scanOf_.find(vk);
        return it == scanOf_.end() ? 0 : it->second;
    }
    unsigned ScanCodeToVirtualKey(unsigned scan) const override {
        auto it = vkOf_.find(scan);
        return it == vkOf_.end() ? 0 : it->second;
    }

  private:
    std::map<unsigned, unsigned> scanOf_;
    std::map<unsigned, unsigned> vkOf_;
};

inline MovedKeysLayout Azerty() {
    return MovedKeysLayout({{'A', 'Q'}, {'Q', 'A'}, {'Z', 'W'}, {'W', 'Z'}});
}

// "#<id>" for every id, so a caption shows which string it used.
class IdStrings final : public StringSource {
  public:
    std::string Text(unsigned id) const override { return "#" + std::to_string(id); }
};

}  // namespace option::testing
