// A keyboard layout for tests: the US key positions with some virtual keys
// exchanged, the way German keyboards exchange Y and Z and French ones A and
// Q (and Z and W).
#pragma once

#include <map>

#include "common/settings/key_codes.h"

namespace testsupport {

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

}  // namespace testsupport
