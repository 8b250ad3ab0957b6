#include "tests/e2e/device/virtual_mouse_session_win.h"

#include <shellapi.h>

#include <algorithm>

namespace e2e {

namespace {

std::string Body(const std::string& line) {
    const std::size_t a = line.find(' ');
    const std::size_t b = a == std::string::npos ? a : line.find(' ', a + 1);
    return b == std::string::npos ? std::string() : line.substr(b + 1);
}

}  // namespace

bool TrayIconShown(HWND owner) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = owner;
    data.uID = 102;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

VirtualMouseSession::VirtualMouseSession(const ProgramFolder& folder) : folder_(folder) {
    if (FindWindowA(kVirtualMouseClass, nullptr) != nullptr)
        return;  // Running() says false
    process_.Start(folder_.File("VirtualMouse.exe"), "/log \"" + folder_.File("vm.log") + "\"");
    WaitUntil([] { return FindWindowA(kVirtualMouseClass, nullptr) != nullptr; });
}

VirtualMouseSession::~VirtualMouseSession() {
    Command("/quit");
    process_.WaitExit();
    process_.Kill();
}

bool VirtualMouseSession::Running() const {
    return !process_.Exited() && FindWindowA(kVirtualMouseClass, nullptr) != nullptr;
}

long VirtualMouseSession::Command(const std::string& arguments) const {
    Program second;
    if (!second.Start(folder_.File("VirtualMouse.exe"), arguments))
        return -1;
    return second.WaitExit();
}

std::vector<std::string> VirtualMouseSession::Log() const {
    std::vector<std::string> out;
    for (const std::string& line : SplitLines(folder_.ReadText("vm.log")))
        out.push_back(Body(line));
    return out;
}

std::vector<std::string> VirtualMouseSession::LogAfter(const std::string& marker) const {
    const auto all = Log();
    const auto it = std::find(all.rbegin(), all.rend(), marker);
    return it == all.rend() ? all : std::vector<std::string>(it.base(), all.end());
}

std::vector<std::string> VirtualMouseSession::Commands(const std::vector<std::string>& records) {
    std::vector<std::string> out;
    for (const std::string& r : records) {
        if (r.rfind("FEATURE ", 0) == 0)
            out.push_back(r.substr(8, 8));
    }
    return out;
}

int VirtualMouseSession::CountPrefix(const std::vector<std::string>& records,
                                     const std::string& prefix) {
    return static_cast<int>(
        std::count_if(records.begin(), records.end(),
                      [&](const std::string& r) { return r.rfind(prefix, 0) == 0; }));
}

bool VirtualMouseSession::FullUploadDone(const std::vector<std::string>& records) {
    const auto last = std::find_if(records.begin(), records.end(), [](const std::string& r) {
        return r.rfind("FEATURE 0D 05 80", 0) == 0;
    });
    if (last == records.end())
        return false;
    const std::vector<std::string> rest(last + 1, records.end());
    return CountPrefix(rest, "OUTPUT") >= 2;
}

std::vector<std::string> VirtualMouseSession::Dump() const {
    const std::string file = folder_.File("vm-dump.txt");
    DeleteFileA(file.c_str());
    if (Command("/dump \"" + file + "\"") != 0)
        return {};
    return SplitLines(folder_.ReadText("vm-dump.txt"));
}

std::vector<std::string> VirtualMouseSession::ProfileSection(const std::vector<std::string>& dump,
                                                             int n) {
    std::vector<std::string> out;
    const std::string header = "profile " + std::to_string(n);
    bool inside = false;
    for (const std::string& line : dump) {
        if (line.rfind("profile ", 0) == 0 || line.rfind("macro ", 0) == 0)
            inside = line == header;
        else if (inside && line.rfind("  ", 0) == 0)
            out.push_back(line.substr(2));
    }
    return out;
}

}  // namespace e2e
