#include "tests/e2e/runtime/runtime_fixture_win.h"

#include <algorithm>

#include "common/settings/ini_file_win.h"
#include "common/settings/settings_files.h"
#include "common/trace_points.h"
#include "tests/support/macro_records.h"
#include "tests/support/shared_block_win.h"

namespace e2e {

namespace {

using namespace std::chrono_literals;

}  // namespace

void RuntimeE2E::SetUp() {
    block_ = std::make_unique<settings::SettingsBlock>();
    settings::FillDefaults(*block_, settings::DefaultsFor::Monitor);
    settings::ResetOsdSettings(osd_);
    osd_.showProfile = 0;
    osd_.showMacro = 0;
    osd_.showCpi = 0;
}

void RuntimeE2E::TearDown() {
    e2e::EndMonitor(monitor_);
    mouse_.reset();
}

void RuntimeE2E::SetKeyCombination(int profile, int n, std::uint8_t keyCode,
                                   std::uint8_t modifiers) {
    settings::ButtonAssignment& b = Button(profile, n);
    b.actionCode = settings::action::kKeyCombination;
    b.eventCount = 1;
    b.events[0].keyCode = keyCode;
    b.events[0].state = modifiers;
    b.events[0].delayMs = 0;
}

void RuntimeE2E::SetMacro(int profile, int n, std::initializer_list<settings::MacroEvent> events,
                          int repeat) {
    settings::ButtonAssignment& b = Button(profile, n);
    testsupport::SetMacro(b, events, repeat);
    settings::CopyField(b.macroName, "TestMacro");
}

void RuntimeE2E::Start(bool plugged) {
    settings::SystemSettingsFiles files(folder_.Path());
    ASSERT_TRUE(settings::SaveAll(files.Files(), nullptr, *block_));
    ASSERT_TRUE(settings::SaveOsdSettings(files.Files(), osd_));
    ASSERT_EQ(FindWindowA(kVirtualMouseClass, nullptr), nullptr)
        << "a virtual mouse is already running";
    mouse_.emplace(folder_);
    ASSERT_TRUE(mouse_->Running());
    if (!plugged) {
        ASSERT_EQ(VirtualMouse("/unplug"), 0);
    }
    ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
    ASSERT_TRUE(WaitUntil([this] { return MonitorWindow() != nullptr; }));
    const char* state = plugged ? "1" : "0";
    ASSERT_TRUE(
        WaitUntil([&] { return folder_.ReadIni("config.ini", "Setting", "Device") == state; }, 45s))
        << "Monitor did not record the mouse as " << state << " but as "
        << folder_.ReadIni("config.ini", "Setting", "Device") << "; Monitor "
        << (monitor_.Exited() ? "ended" : "runs") << "; mouse log:\n"
        << folder_.ReadText("vm.log");
}

long RuntimeE2E::VirtualMouse(const std::string& arguments) {
    return mouse_ ? mouse_->Command(arguments) : -1;
}

void RuntimeE2E::Inject(const std::string& spec) {
    ASSERT_EQ(VirtualMouse("/event " + spec), 0) << spec;
}

std::string RuntimeE2E::Dump() {
    const std::string file = "dump.txt";
    folder_.Remove(file);
    if (VirtualMouse("/dump \"" + folder_.File(file) + "\"") != 0)
        return "";
    return folder_.ReadText(file);
}

bool RuntimeE2E::ReadShared(settings::SettingsBlock& block) {
    return testsupport::ReadSharedBlock(block);
}

bool RuntimeE2E::EventsHandled() {
    auto block = std::make_unique<settings::SettingsBlock>();
    if (!ReadShared(*block))
        return false;
    const settings::ProfileRecord* profile = settings::CurrentProfile(*block);
    auto inRange = [](int v) { return v >= 1 && v <= 20 ? v : 10; };
    const int x = profile != nullptr ? inRange(profile->Sensitivity_X) : 10;
    const int y = profile != nullptr ? inRange(profile->Sensitivity_Y) : 10;
    auto answers = [this] {
        int count = 0;
        for (const std::string& t : monitor_.DebugTexts())
            count += trace::IsFrom(trace::kShowOsd, t) ? 1 : 0;
        return count;
    };
    const int before = answers();
    if (VirtualMouse("/event sensitivity:" + std::to_string(x) + "," + std::to_string(y)) != 0)
        return false;
    return WaitUntil([&] { return answers() > before; });
}

void RuntimeE2E::Settle(std::chrono::milliseconds window) {
    EXPECT_TRUE(EventsHandled()) << "Monitor did not answer the marker event";
    ObserveFor(window);
}

bool RuntimeE2E::UploadBegun(std::chrono::milliseconds timeout) {
    return WaitUntil(
        [&] { return folder_.ReadText("vm.log").find("FEATURE 0D 05 80") != std::string::npos; },
        timeout);
}

void RuntimeE2E::StartHoldingCtrlA(std::optional<InputRecorder>& input) {
    SetKeyCombination(0, 3, kCodeA, settings::modifier::kCtrl);
    ASSERT_NO_FATAL_FAILURE(Start());
    input.emplace();
    ASSERT_TRUE(input->Installed());
    Inject("press:3");
    ASSERT_TRUE(input->WaitFor([](const auto& e) {
        const std::vector<std::string> keys = KeyTrace(e);
        return std::find(keys.begin(), keys.end(), "+41") != keys.end();
    }));
}

}  // namespace e2e
