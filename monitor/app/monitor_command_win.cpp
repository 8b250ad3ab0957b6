#include "common/win/wide_text_win.h"
#include "monitor/app/monitor_command_win.h"

#include <shellapi.h>

#include <string>

#include "common/protocol.h"
#include "common/path_join.h"
#include "common/settings/ini_file_win.h"
#include "common/settings/settings_files.h"
#include "common/win/language_module_win.h"
#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "lan/string_ids.h"
#include "monitor/app/diagnostics_win.h"
#include "monitor/app/running_monitor_win.h"

namespace monitor {

namespace {

void ShowBox(UINT textId, const std::string& argument) {
    settings::SystemSettingsFiles files(win::ProgramFolder());
    win::LanguageModule lan;
    lan.Load(settings::ReadLanguage(files));
    std::string text = lan.Text(textId);
    const std::size_t mark = text.find("%1");
    if (mark != std::string::npos)
        text.replace(mark, 2, argument);
    const UINT icon = textId == lan::kCommandUsage ? MB_ICONINFORMATION : MB_ICONWARNING;
    MessageBoxW(nullptr, win::Wide(text).c_str(), win::Wide(lan.Text(lan::kCommandCaption)).c_str(),
                MB_OK | icon | MB_SETFOREGROUND);
}

}  // namespace

runtime::CommandResult ForwardCommand(HWND running, const runtime::MonitorCommand& command) {
    DWORD_PTR answer = static_cast<DWORD_PTR>(runtime::CommandResult::MouseAbsent);
    if (!SendMessageTimeoutA(running, runtime::kMsgRunCommand, static_cast<WPARAM>(command.kind),
                             static_cast<LPARAM>(command.profileIndex), SMTO_ABORTIFHUNG,
                             kCommandAnswerWaitMs, &answer)) {
        return runtime::CommandResult::MouseAbsent;
    }
    switch (static_cast<runtime::CommandResult>(answer)) {
        case runtime::CommandResult::Done:
        case runtime::CommandResult::BadArgument:
            return static_cast<runtime::CommandResult>(answer);
        default:
            return runtime::CommandResult::MouseAbsent;
    }
}

void QueueOwnCommand(HWND self, const runtime::MonitorCommand& command) {
    PostMessageA(self, runtime::kMsgRunCommand, static_cast<WPARAM>(command.kind),
                 static_cast<LPARAM>(command.profileIndex));
}

namespace {

std::string Utf8FromWide(const wchar_t* text) {
    return win::Narrow(text, CP_UTF8);
}

// A running Monitor builds its report in well under a second; a slow disk
// or a busy machine gets ample time before this process writes it instead.
constexpr UINT kReportAnswerWaitMs = 15000;

// The running Monitor's answer to a report request: Done, BadArgument (it
// could not write the file), or MouseAbsent when it did not take the request
// (it hangs, ends, or is a build that does not know it).
runtime::CommandResult AskRunningMonitorForReport(const std::wstring& path) {
    HWND running = RunningMonitorWindow(kRunningMonitorWaitMs);
    if (running == nullptr)
        return runtime::CommandResult::MouseAbsent;
    COPYDATASTRUCT request{};
    request.dwData = kReportRequestTag;
    request.cbData = static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t));
    request.lpData = const_cast<wchar_t*>(path.c_str());
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request),
                             SMTO_ABORTIFHUNG, kReportAnswerWaitMs, &answer))
        return runtime::CommandResult::MouseAbsent;
    if (static_cast<LRESULT>(answer) == kReportWritten)
        return runtime::CommandResult::Done;
    if (static_cast<LRESULT>(answer) == kReportNotWritten)
        return runtime::CommandResult::BadArgument;
    return runtime::CommandResult::MouseAbsent;
}

}  // namespace

std::wstring WideFromUtf8(const std::string& text) {
    return win::Widen(text, CP_UTF8);
}

std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr)
        return args;
    // CommandLineToArgvW hands back one LocalAlloc block.
    win::ScopedLocal owner(argv);
    for (int i = 1; i < count; ++i) args.push_back(Utf8FromWide(argv[i]));
    return args;
}

runtime::CommandResult RunReportCommand(const std::wstring& path) {
    // The running Monitor has a current folder of its own: it is given the
    // whole path.
    std::wstring target(32768, L'\0');
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(target.size()), target.data(), nullptr);
    if (length > 0 && length < target.size())
        target.resize(length);
    else
        target = path;
    ReportWriter writer = ReportWriter::NoMonitorRunning;
    win::ScopedHandle instance(OpenMutexA(SYNCHRONIZE, FALSE, protocol::kMonitorInstanceMutex));
    if (instance) {
        const runtime::CommandResult asked = AskRunningMonitorForReport(target);
        if (asked != runtime::CommandResult::MouseAbsent)
            return asked;
        writer = ReportWriter::MonitorDidNotAnswer;
    }
    return WriteReportFile(target, BuildReportWithoutMonitor(writer))
               ? runtime::CommandResult::Done
               : runtime::CommandResult::BadArgument;
}

runtime::CommandResult RunForgetChannelsCommand() {
    device::DeviceLink link;
    return link.Bind(win::ProgramFolder()) && link.ForgetChannels()
               ? runtime::CommandResult::Done
               : runtime::CommandResult::BadArgument;
}

void ShowUsage() {
    ShowBox(lan::kCommandUsage, {});
}

void ShowBadArgument(const std::string& argument) {
    ShowBox(lan::kCommandBadArgument, argument);
}

}  // namespace monitor
