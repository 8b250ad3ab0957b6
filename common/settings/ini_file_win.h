// The settings files through the system's private-profile functions.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "common/settings/ini_engine.h"
#include "common/settings/ini_file.h"
#include "common/settings/ini_rewrite_lock_win.h"
#include "common/settings/settings_files.h"

namespace settings {

// The INI file at `path` parsed by our engine, which reads as the system's
// profile functions do: for a caller that reads many keys of one file, where
// the system's reader would look the file up again for each. Nothing when the
// file cannot be read or is not plain text (a byte-order mark or zero bytes),
// which is then left to the system's reader.
std::optional<IniDocument> ParseIniFileAsSystem(const std::string& path);

// Where an open file's reads come from: one parse of the file by our engine,
// which reads as the system does (taken at the first read; once the file
// object has written, the system answers), or the system's reader for every
// key. The settings use the parse; the system's own reader is for checking
// the engine against it.
enum class IniReads { Parsed, System };

class SystemIniFileSystem final : public IniFileSystem {
  public:
    explicit SystemIniFileSystem(IniReads reads = IniReads::Parsed) : reads_(reads) {}
    std::unique_ptr<IniFile> Open(const std::string& path) override;
    bool CanOpen(const std::string& path) override;
    bool ReadBytes(const std::string& path, std::string& bytes) override;
    // GetTempFileName in the same folder, then a copy of the original.
    bool CreateTempCopy(const std::string& path, std::string& tempPath) override;
    // MoveFileEx with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
    bool Replace(const std::string& tempPath, const std::string& path) override;
    void Remove(const std::string& path) override;
    // The named mutex of the file, shared with every other process.
    std::unique_ptr<IniRewriteLock::Hold> LockForRewrite(const std::string& path) override;

  private:
    IniReads reads_;
    NamedMutexIniRewriteLock lock_;
};

// The settings files of a program folder (with trailing backslash) on the
// system's profile functions: what Monitor and Option construct at start.
class SystemSettingsFiles {
  public:
    explicit SystemSettingsFiles(std::string programFolder)
        : files_(system_, std::move(programFolder)) {}
    SystemSettingsFiles(const SystemSettingsFiles&) = delete;
    SystemSettingsFiles& operator=(const SystemSettingsFiles&) = delete;
    SettingsFiles& Files() { return files_; }
    operator SettingsFiles&() { return files_; }

  private:
    SystemIniFileSystem system_;
    SettingsFiles files_;
};

}  // namespace settings
