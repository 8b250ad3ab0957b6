// Where the library's diagnostic lines go: always the debugger output, and
// korrin-capture.txt in the program folder when the user has created it. The
// library never creates the file; it only appends to one that exists.
#include <windows.h>

#include <cstdio>

#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "korrin/hid_system_win.h"

namespace korrin {

namespace {

constexpr const char* kCaptureFileName = "korrin-capture.txt";

class CaptureSink final : public LogSink {
  public:
    CaptureSink() {
        const std::string path = win::ProgramFolder() + kCaptureFileName;
        file_.Reset(CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file_)
            return;
        SYSTEMTIME now;
        GetLocalTime(&now);
        char header[160];
        std::snprintf(header, sizeof header,
                      "korrin capture started %04u-%02u-%02u %02u:%02u:%02u by %s", now.wYear,
                      now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                      ExecutableName().c_str());
        Write(header);
    }

    void Write(const std::string& line) override {
        const std::string text = "korrin: " + line + "\n";
        OutputDebugStringA(text.c_str());
        if (!file_)
            return;
        const std::string fileLine = line + "\r\n";
        DWORD written = 0;
        WriteFile(file_.Get(), fileLine.data(), static_cast<DWORD>(fileLine.size()), &written,
                  nullptr);
    }

    bool Capturing() const override { return file_.Valid(); }

  private:
    static std::string ExecutableName() {
        char path[MAX_PATH] = {};
        const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
        return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string("?");
    }

    win::ScopedFileHandle file_;
};

}  // namespace

CaptureLog& Diagnostics() {
    static CaptureSink sink;
    static CaptureLog log(sink, [] { return WindowsHid().NowMs(); });
    return log;
}

}  // namespace korrin
