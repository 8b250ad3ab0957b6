// Monitor's command line commands between processes: a Monitor started with
// /profile N or /apply while another one runs hands the command to the
// running one and waits for its answer, which becomes its exit code. One
// started with /report PATH never becomes the running Monitor: it asks the
// running one for its report, or writes the report itself.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "monitor/runtime/command_line.h"
#include "monitor/runtime/win/monitor_messages_win.h"

namespace monitor {

// How long a forwarding Monitor waits for the running one's answer.
inline constexpr UINT kCommandAnswerWaitMs = 10000;

// Sends the command to `running` and returns its answer; MouseAbsent when
// no answer came (the running Monitor hangs or is ending).
runtime::CommandResult ForwardCommand(HWND running, const runtime::MonitorCommand& command);

// Posts the command to Monitor's own new window: carried out once the window
// runs, as if a second Monitor had sent it.
void QueueOwnCommand(HWND self, const runtime::MonitorCommand& command);

// Monitor.exe /report PATH, the whole of it: the report written to `path`
// by the running Monitor when one answers, else by this process. Done, or
// BadArgument when the file cannot be written.
runtime::CommandResult RunReportCommand(const std::wstring& path);

// Monitor.exe /forget-channels, the whole of it: the device library beside
// the program forgets the channel it remembered for the mouse (a file beside
// it, shared with a running Monitor, which reads it when it next opens the
// mouse). Done, or BadArgument when it could not.
runtime::CommandResult RunForgetChannelsCommand();

// The arguments after the program's name, as the system splits the command
// line, in UTF-8.
std::vector<std::string> CommandLineArguments();

// UTF-8 to UTF-16 and back, for paths given on the command line.
std::wstring WideFromUtf8(const std::string& text);

// The message boxes of /? and of a bad argument, texts from lan.dll in the
// program folder.
void ShowUsage();
void ShowBadArgument(const std::string& argument);

}  // namespace monitor
