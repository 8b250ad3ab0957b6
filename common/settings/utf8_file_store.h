// A byte store whose reads come back as UTF-8: files that earlier versions
// wrote in the system's legacy code page (macro files, backups) read the same
// as files written now. Writes go through unchanged, so a file read and
// written again is UTF-8 from then on.
#pragma once

#include <string>

#include "common/settings/ini_engine.h"
#include "common/utf8_text.h"

namespace settings {

class Utf8FileStore final : public TextFileStore {
  public:
    Utf8FileStore(TextFileStore& store, const text::LegacyCodePage& legacy)
        : store_(store), legacy_(legacy) {}
    bool ReadAll(const std::string& path, std::string& bytes) override {
        if (!store_.ReadAll(path, bytes))
            return false;
        bytes = text::TextFromFile(bytes, legacy_).utf8;
        return true;
    }
    bool WriteAll(const std::string& path, const std::string& bytes) override {
        return store_.WriteAll(path, bytes);
    }
    bool Exists(const std::string& path) override { return store_.Exists(path); }
    bool Rename(const std::string& from, const std::string& to) override {
        return store_.Rename(from, to);
    }
    void Remove(const std::string& path) override { store_.Remove(path); }

  private:
    TextFileStore& store_;
    const text::LegacyCodePage& legacy_;
};

}  // namespace settings
