// Files held in memory for the settings tests, with two kinds of trouble on
// demand: folders whose files cannot be written, and a crash after a given
// number of changes (the write in progress is left half done, nothing after
// it happens).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/settings/ini_engine.h"

namespace testing_files {

class MemoryStore final : public settings::TextFileStore {
  public:
    std::map<std::string, std::string> files;
    std::vector<std::string> readOnlyFolders;
    int crashAfter = -1;  // changes allowed before the crash; -1 never
    int changes = 0;
    bool crashed = false;

    bool ReadAll(const std::string& path, std::string& bytes) override {
        auto it = files.find(path);
        if (it == files.end())
            return false;
        bytes = it->second;
        return true;
    }
    bool WriteAll(const std::string& path, const std::string& bytes) override {
        if (ReadOnly(path))
            return false;
        if (Crash()) {
            files[path] = bytes.substr(0, bytes.size() / 2);
            return false;
        }
        files[path] = bytes;
        return true;
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    bool Rename(const std::string& from, const std::string& to) override {
        if (ReadOnly(from) || ReadOnly(to) || Crash())
            return false;
        auto it = files.find(from);
        if (it == files.end())
            return false;
        files[to] = it->second;
        files.erase(it);
        return true;
    }
    void Remove(const std::string& path) override {
        if (crashed || ReadOnly(path))
            return;
        files.erase(path);
    }

  private:
    bool ReadOnly(const std::string& path) const {
        for (const std::string& folder : readOnlyFolders) {
            if (path.compare(0, folder.size(), folder) == 0)
                return true;
        }
        return false;
    }
    bool Crash() {
        if (!crashed && crashAfter >= 0 && changes >= crashAfter)
            crashed = true;
        if (crashed)
            return true;
        ++changes;
        return false;
    }
};

}  // namespace testing_files
