// Stand-ins for the shared section, the other programs' windows and the
// macro store, each recording what the session asked of it.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "option/model/session/session_ports.h"
#include "tests/unit/common/settings/memory_store.h"

namespace option_test {

// The section as Monitor holds it; `exists` says whether Monitor has created it.
class FakeLink final : public option::SharedBlockLink {
  public:
    FakeLink() : section(std::make_unique<settings::SettingsBlock>()) {
        std::memset(section.get(), 0, sizeof *section);
    }
    bool IsOpen() const override { return open; }
    bool Open() override {
        ++openCalls;
        open = exists;
        return open;
    }
    bool Publish(const settings::SettingsBlock& block) override {
        EXPECT_TRUE(open) << "published without an open section";
        if (failCopies)
            return false;
        ++publishes;
        *section = block;
        return true;
    }
    bool Fetch(settings::SettingsBlock& block) override {
        EXPECT_TRUE(open) << "read without an open section";
        if (failCopies)
            return false;
        block = *section;
        return true;
    }

    std::unique_ptr<settings::SettingsBlock> section;
    bool exists = false;
    bool open = false;
    bool failCopies = false;
    int openCalls = 0;
    int publishes = 0;
};

class FakePeers final : public option::PeerWindows {
  public:
    bool MonitorRunning() override { return monitor; }
    bool PostApplyToMonitor(option::ApplyKind kind) override {
        if (!monitor)
            return false;
        applies.push_back(kind);
        return true;
    }
    void PostApplyToCompanions() override { ++companionPosts; }

    bool monitor = false;
    std::vector<option::ApplyKind> applies;
    int companionPosts = 0;
};

class CountingMacroStore final : public option::MacroStore {
  public:
    bool Load() override {
        ++loads;
        return true;
    }
    void Clear() override { records.clear(); }
    void MergeFromProfiles(const settings::SettingsBlock&, option::MacroMerge) override {
        ++merges;
    }
    bool Save() override {
        ++saves;
        return true;
    }
    std::vector<option::MacroRecord> Records() const override { return records; }
    void ReplaceAll(const std::vector<option::MacroRecord>& replaced) override {
        records = replaced;
    }
    std::vector<option::MacroRecord> records;
    int loads = 0;
    int merges = 0;
    int saves = 0;
};

}  // namespace option_test
