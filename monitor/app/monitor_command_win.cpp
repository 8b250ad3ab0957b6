#include "monitor/app/monitor_command_win.h"

#include <string>

#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "lan/string_ids.h"

namespace monitor {

namespace {

void ShowBox(UINT textId, const std::string& argument) {
    win::ScopedModule lan(LoadLibraryA((win::ProgramFolder() + "lan.dll").c_str()));
    std::string text = win::LoadModuleString(lan.Get(), textId, 1024);
    const std::size_t mark = text.find("%1");
    if (mark != std::string::npos)
        text.replace(mark, 2, argument);
    const std::string caption = win::LoadModuleString(lan.Get(), lan::kCommandCaption);
    const UINT icon = textId == lan::kCommandUsage ? MB_ICONINFORMATION : MB_ICONWARNING;
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | icon | MB_SETFOREGROUND);
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

void ShowUsage() {
    ShowBox(lan::kCommandUsage, {});
}

void ShowBadArgument(const std::string& argument) {
    ShowBox(lan::kCommandBadArgument, argument);
}

}  // namespace monitor
