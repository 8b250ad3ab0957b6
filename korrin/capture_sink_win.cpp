// Where the library's diagnostic lines go: always the debugger output, and
// while a capture runs the file logs\korrin-capture.txt in the program folder
// (the folder of the program that loaded the library), or in the user's
// temporary folder when the program folder cannot be written.
#include <windows.h>

#include <cstdio>
#include <mutex>

#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "common/win/wide_text_win.h"
#include "korrin/hid_system_win.h"

namespace korrin {

namespace {

constexpr const char* kCaptureFileName = "korrin-capture.txt";

std::string TempFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof path, path);
    return n > 0 && n < sizeof path ? std::string(path, n) : std::string();
}

class CaptureSink final : public LogSink {
  public:
    void Debug(const std::string& line) override {
        const std::string text = "korrin: " + line + "\n";
        OutputDebugStringA(text.c_str());
    }

    bool OpenCapture() override {
        const std::string logs = win::ProgramFolder() + "logs\\";
        CreateDirectoryA(logs.c_str(), nullptr);  // fails harmlessly when it exists
        for (const std::string& folder : {logs, TempFolder()}) {
            if (folder.empty())
                continue;
            const std::string path = folder + kCaptureFileName;
            file_.Reset(CreateFileA(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file_) {
                path_ = path;
                return true;
            }
        }
        return false;
    }

    void WriteCapture(const std::string& line) override {
        if (!file_)
            return;
        const std::string fileLine = line + "\r\n";
        DWORD written = 0;
        WriteFile(file_.Get(), fileLine.data(), static_cast<DWORD>(fileLine.size()), &written,
                  nullptr);
    }

    void CloseCapture() override { file_.Reset(); }

    std::string CapturePath() const override { return path_; }

  private:
    win::ScopedFileHandle file_;
    std::string path_;
};

// Remembered channel choices in korrin-channels.ini beside the library, one
// section per device ("04D9_AD50"), keys per role. A choice is kept by what
// stays the same on every USB port (interface number, collection, usage,
// report id), never by the interface path. A file of an older build, keyed
// by path, names none of these keys: it is read as nothing remembered.
class IniChoiceStore final : public ChoiceStore {
  public:
    std::optional<RememberedChoice> Load(std::uint16_t vendorId, std::uint16_t productId,
                                         Role role) override {
        std::lock_guard<std::mutex> guard(lock_);
        const std::wstring section = win::Wide(Section(vendorId, productId));
        const std::wstring file = File();
        auto text = [&](const char* what) {
            wchar_t value[64] = {};
            GetPrivateProfileStringW(section.c_str(), win::Wide(Key(role, what)).c_str(), L"",
                                     value, 64, file.c_str());
            return win::Utf8(value);
        };
        auto number = [&](const char* what) {
            return GetPrivateProfileIntW(section.c_str(), win::Wide(Key(role, what)).c_str(), -1,
                                         file.c_str());
        };
        const UINT page = number("UsagePage"), usage = number("Usage");
        const UINT kind = number("Kind"), id = number("ReportId");
        if (page > 0xFFFF || usage > 0xFFFF || kind > static_cast<UINT>(TransferKind::Input) ||
            id > 255)
            return std::nullopt;
        return RememberedChoice{text("Interface"),
                                text("Collection"),
                                static_cast<std::uint16_t>(page),
                                static_cast<std::uint16_t>(usage),
                                static_cast<TransferKind>(kind),
                                static_cast<std::uint8_t>(id)};
    }

    void Save(std::uint16_t vendorId, std::uint16_t productId, Role role,
              const RememberedChoice& choice) override {
        std::lock_guard<std::mutex> guard(lock_);
        const std::wstring section = win::Wide(Section(vendorId, productId));
        const std::wstring file = File();
        const std::pair<const char*, std::string> values[] = {
            {"Interface", choice.interfaceNumber},
            {"Collection", choice.collection},
            {"UsagePage", std::to_string(choice.usagePage)},
            {"Usage", std::to_string(choice.usage)},
            {"Kind", std::to_string(static_cast<int>(choice.kind))},
            {"ReportId", std::to_string(choice.reportId)}};
        bool saved = true;
        for (const auto& [what, value] : values)
            saved = saved &&
                    WritePrivateProfileStringW(section.c_str(), win::Wide(Key(role, what)).c_str(),
                                               win::Wide(value).c_str(), file.c_str());
        if (!saved)
            Diagnostics().Line("the channel choice could not be saved to " + Where());
    }

    bool Forget(std::uint16_t vendorId, std::uint16_t productId) override {
        std::lock_guard<std::mutex> guard(lock_);
        const std::wstring file = File();
        // Nothing kept is nothing to forget.
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
            return true;
        return WritePrivateProfileStringW(win::Wide(Section(vendorId, productId)).c_str(), nullptr,
                                          nullptr, file.c_str()) != 0;
    }

    std::string Where() const override { return win::Utf8(File().c_str()); }

  private:
    static std::string Section(std::uint16_t vendorId, std::uint16_t productId) {
        char text[16];
        std::snprintf(text, sizeof text, "%04X_%04X", vendorId, productId);
        return text;
    }
    static std::string Key(Role role, const char* what) {
        return std::string(role == Role::Command ? "Command" : "Chunk") + what;
    }
    // The file's path in full, wide: the folder may hold any script.
    static std::wstring File() {
        HMODULE module = nullptr;
        GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&IniChoiceStore::File), &module);
        std::wstring folder = win::ModulePathWide(module);
        if (folder.empty())
            folder = win::ModulePathWide(nullptr);
        folder.resize(folder.find_last_of(L"\\/") + 1);  // npos + 1: no folder at all
        return folder + L"korrin-channels.ini";
    }

    std::mutex lock_;
};

}  // namespace

CaptureLog& Diagnostics() {
    static CaptureSink sink;
    static CaptureLog log(sink, [] { return WindowsHid().NowMs(); });
    return log;
}

ChoiceStore& RememberedChoices() {
    static IniChoiceStore store;
    return store;
}

}  // namespace korrin
