#include "common/settings/ini_file_win.h"

#include <optional>
#include <vector>

#include "common/settings/ini_engine.h"
#include "common/utf8_text.h"
#include "common/win/scoped_win.h"
#include "common/win/text_mode_win.h"
#include "common/win/wide_text_win.h"

namespace settings {

namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    const win::ScopedFileHandle file(CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size{};
    // Settings files are small; anything past a few megabytes is not one.
    constexpr LONGLONG kLargest = 16 << 20;
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargest)
        return false;
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return false;
    return true;
}

// Text that our engine reads as the system does: no byte-order mark and no
// zero bytes (a file saved as UTF-16, say, is left to the system).
bool PlainText(const std::string& bytes) {
    const auto starts = [&](const char* mark) { return bytes.rfind(mark, 0) == 0; };
    return !starts("\xEF\xBB\xBF") && !starts("\xFF\xFE") && !starts("\xFE\xFF") &&
           bytes.find('\0') == std::string::npos;
}

// A file of an earlier version holds names in the legacy code page. The
// profile functions under the UTF-8 code page would read those bytes as
// U+FFFD and write them back so: before they touch such a file it is
// rewritten as UTF-8 (in one step, under its rewrite lock). Our own parse
// converts in memory and leaves the file alone.
void ConvertLegacyFile(SystemIniFileSystem& files, const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes) || !PlainText(bytes) || text::IsUtf8(bytes))
        return;
    const auto hold = files.LockForRewrite(path);
    if (!hold || !ReadWholeFile(path, bytes) || text::IsUtf8(bytes))
        return;
    const text::ReadText converted = win::TextFromFileBytes(bytes);
    std::string temp;
    if (!files.CreateTempCopy(path, temp))
        return;
    win::ScopedFileHandle file(CreateFileW(win::Wide(temp).c_str(), GENERIC_WRITE, 0, nullptr,
                                           TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const bool ok =
        file &&
        WriteFile(file.Get(), converted.utf8.data(), static_cast<DWORD>(converted.utf8.size()),
                  &written, nullptr) != FALSE &&
        written == converted.utf8.size();
    file.Reset();  // closed before it replaces the original
    if (!ok || !files.Replace(temp, path))
        files.Remove(temp);
}

class SystemIniFile final : public IniFile {
  public:
    SystemIniFile(SystemIniFileSystem& files, std::string path, IniReads reads)
        : files_(files), path_(std::move(path)), written_(reads == IniReads::System) {}

    std::int32_t GetInt(const char* section, const char* key, std::int32_t def) override {
        if (const IniDocument* doc = Snapshot())
            return doc->GetInt(section, key, def);
        BeforeSystemAccess();
        return static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, def, path_.c_str()));
    }
    std::string GetString(const char* section, const char* key, const char* def) override {
        if (const IniDocument* doc = Snapshot())
            return doc->GetString(section, key, def);
        BeforeSystemAccess();
        std::vector<char> buffer(kIniStringBuffer, '\0');
        const DWORD n = GetPrivateProfileStringA(section, key, def, buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), path_.c_str());
        return std::string(buffer.data(), std::min<std::size_t>(n, buffer.size() - 1));
    }
    bool GetStruct(const char* section, const char* key, void* data, std::size_t size) override {
        if (const IniDocument* doc = Snapshot())
            return doc->GetStruct(section, key, data, size);
        BeforeSystemAccess();
        return GetPrivateProfileStructA(section, key, data, static_cast<UINT>(size),
                                        path_.c_str()) != FALSE;
    }
    bool WriteString(const char* section, const char* key, const char* value) override {
        BeforeSystemAccess();
        written_ = true;
        const bool ok = WritePrivateProfileStringA(section, key, value, path_.c_str()) != FALSE;
        failed_ = failed_ || !ok;
        return ok;
    }
    bool WriteStruct(const char* section, const char* key, const void* data,
                     std::size_t size) override {
        BeforeSystemAccess();
        written_ = true;
        // The system takes a non-const pointer but only reads it.
        const bool ok = WritePrivateProfileStructA(section, key, const_cast<void*>(data),
                                                   static_cast<UINT>(size), path_.c_str()) != FALSE;
        failed_ = failed_ || !ok;
        return ok;
    }
    bool Flush() override {
        // The documented flush call; its own result carries no meaning.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
        return !failed_;
    }

  private:
    // Reads are answered from one parse of the file, taken at the first read:
    // the system's reader looks the file up again for every key, and loading
    // the five profiles reads some hundreds of keys, a good part of Option's
    // start. Once this object has written (or when told to read through the
    // system), the system answers: it alone sees its writes before they are
    // flushed.
    const IniDocument* Snapshot() {
        if (written_)
            return nullptr;
        if (!snapshotTaken_) {
            snapshotTaken_ = true;
            snapshot_ = ParseIniFileAsSystem(path_);
        }
        return snapshot_ ? &*snapshot_ : nullptr;
    }

    void BeforeSystemAccess() {
        if (!converted_) {
            converted_ = true;
            ConvertLegacyFile(files_, path_);
        }
    }

    SystemIniFileSystem& files_;
    std::string path_;
    bool converted_ = false;
    bool failed_ = false;
    bool written_;
    bool snapshotTaken_ = false;
    std::optional<IniDocument> snapshot_;
};

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

}  // namespace

std::unique_ptr<IniFile> SystemIniFileSystem::Open(const std::string& path) {
    return std::make_unique<SystemIniFile>(*this, path, reads_);
}

bool SystemIniFileSystem::CanOpen(const std::string& path) {
    const win::ScopedFileHandle file(CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid();
}

std::optional<IniDocument> ParseIniFileAsSystem(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes) || !PlainText(bytes))
        return std::nullopt;
    return IniDocument::Parse(win::TextFromFileBytes(bytes).utf8);
}

bool SystemIniFileSystem::ReadBytes(const std::string& path, std::string& bytes) {
    return ReadWholeFile(path, bytes);
}

bool SystemIniFileSystem::CreateTempCopy(const std::string& path, std::string& tempPath) {
    char name[MAX_PATH] = {};
    if (GetTempFileNameA(FolderOf(path).c_str(), "~cf", 0, name) == 0)
        return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!CopyFileA(path.c_str(), name, FALSE)) {
            DeleteFileA(name);
            return false;
        }
        // The copy must be writable even when the original is not.
        SetFileAttributesA(name, FILE_ATTRIBUTE_NORMAL);
    }
    tempPath = name;
    return true;
}

// Another program reading the file at that moment (the display program and
// Option read config.ini at any time) holds it open, and replacing an open
// file is refused. Such a reader lets go within milliseconds, so the swap is
// tried again for a while before the save is given up as failed.
bool SystemIniFileSystem::Replace(const std::string& tempPath, const std::string& path) {
    constexpr int kAttempts = 200;
    constexpr DWORD kPauseMs = 5;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (MoveFileExA(tempPath.c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION &&
            error != ERROR_LOCK_VIOLATION) {
            return false;
        }
        Sleep(kPauseMs);
    }
    return false;
}

void SystemIniFileSystem::Remove(const std::string& path) {
    DeleteFileA(path.c_str());
}

std::unique_ptr<IniRewriteLock::Hold> SystemIniFileSystem::LockForRewrite(const std::string& path) {
    return lock_.Acquire(path);
}

}  // namespace settings
