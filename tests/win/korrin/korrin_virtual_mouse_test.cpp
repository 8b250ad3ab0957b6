#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>

#include "common/settings/settings_block.h"
#include "monitor/device/device_link_win.h"
#include "monitor/device/upload_runner.h"
#include "tests/support/macro_records.h"
#include "tests/win/korrin/vm_harness_win.h"

namespace {

using vmtest::Received;

constexpr UINT kEventMsg = 1325;
constexpr UINT kArrivalMsg = 1326;

// The messages `msg` among `r`, in the order they came.
std::vector<Received> Only(const std::vector<Received>& r, UINT msg) {
    std::vector<Received> out;
    std::copy_if(r.begin(), r.end(), std::back_inserter(out),
                 [&](const Received& x) { return x.msg == msg; });
    return out;
}

int Count(const std::vector<Received>& r, UINT msg) {
    return static_cast<int>(Only(r, msg).size());
}

// What the messages `msg` among `r` said in their wParam, in order.
std::vector<WPARAM> WParamsOf(const std::vector<Received>& r, UINT msg) {
    std::vector<WPARAM> out;
    for (const Received& x : Only(r, msg)) out.push_back(x.wParam);
    return out;
}

bool Contains(const std::vector<std::string>& lines, const std::string& tail) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.size() >= tail.size() && l.compare(l.size() - tail.size(), tail.size(), tail) == 0;
    });
}

int CountKind(const std::vector<std::string>& lines, const std::string& kind) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.find(" " + kind) != std::string::npos;
    }));
}

class KorrinVirtualMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        // A virtual mouse left over from an earlier run would take the commands.
        vmtest::RunVirtualMouse("/quit");
        ASSERT_TRUE(e2e::WaitUntil([] {
            return FindWindowA("MouseVirtualDeviceWindow", nullptr) == nullptr;
        })) << "a virtual mouse of an earlier run did not quit";
        logPath = vmtest::TempFile("korrin_vm_test.log");
        dumpPath = vmtest::TempFile("korrin_vm_test_dump.txt");
        DeleteFileA(logPath.c_str());
        DeleteFileA(dumpPath.c_str());
        ASSERT_TRUE(vmtest::StartVirtualMouse("/log \"" + logPath + "\"", vm));
        ASSERT_TRUE(lib.Load()) << "korrin.dll and its eleven exports in " << vmtest::DistFolder();
    }
    void TearDown() override {
        if (lib.module != nullptr)
            lib.Close_DevMonitor();
        vmtest::StopVirtualMouse(vm);
        lib.Unload();
    }
    void OpenAll() {
        ASSERT_EQ(lib.Set_VIDPID(0x04D9, 0xAD50), 1);
        ASSERT_EQ(lib.Open_DevMonitor(sink.Hwnd(), kEventMsg, kArrivalMsg), 1);
        ASSERT_EQ(lib.Open_FeatureDevice(), 1);
        ASSERT_NE(lib.Open_ReportDevice(), 0);
    }
    std::vector<std::string> Log() { return vmtest::SplitLines(vmtest::ReadFile(logPath)); }
    std::string Dump() {
        EXPECT_EQ(vmtest::RunVirtualMouse("/dump \"" + dumpPath + "\""), 0);
        return vmtest::ReadFile(dumpPath);
    }

    PROCESS_INFORMATION vm{};
    vmtest::Korrin lib;
    vmtest::MessageSink sink;
    std::string logPath;
    std::string dumpPath;
};

TEST_F(KorrinVirtualMouse, TransfersReachTheVirtualMouseInOrder) {
    OpenAll();
    unsigned char report[8] = {0x02, 0x01, 0, 0, 0, 0, 0, 0xFC};
    EXPECT_EQ(lib.SetFeature(report, 8), 1);
    unsigned char chunk[64];
    for (int i = 0; i < 64; ++i) chunk[i] = static_cast<unsigned char>(i);
    EXPECT_EQ(lib.WriteUSB(chunk, 64), 1);
    // Nothing to read back from the virtual mouse.
    EXPECT_EQ(lib.GetFeature(report, 8), 0);

    const auto log = Log();
    ASSERT_GE(log.size(), 6u);
    EXPECT_TRUE(Contains(log, "SET_VIDPID D9 04 50 AD"));
    EXPECT_TRUE(Contains(log, "OPEN_FEATURE"));
    EXPECT_TRUE(Contains(log, "OPEN_REPORT"));
    EXPECT_TRUE(Contains(log, "FEATURE 02 01 00 00 00 00 00 FC"));
    EXPECT_EQ(CountKind(log, "OUTPUT 00 01 02 03"), 1);
    // Records are numbered in order with rising timestamps.
    long long lastSeq = 0, lastTime = -1;
    for (const std::string& line : log) {
        long long seq = 0, micros = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lld %lld", &seq, &micros), 2) << line;
        EXPECT_EQ(seq, lastSeq + 1);
        EXPECT_GE(micros, lastTime);
        lastSeq = seq;
        lastTime = micros;
    }
    const std::string dump = Dump();
    EXPECT_NE(dump.find("plugged 1\nselected_profile 1\n"), std::string::npos) << dump;
    // The 64 bytes were a chunk without an announced block.
    EXPECT_NE(dump.find("chunk 1"), std::string::npos);
}

TEST_F(KorrinVirtualMouse, UnplugAndPlugArePostedOnceEach) {
    OpenAll();
    auto arrivals = [&] { return WParamsOf(sink.received, kArrivalMsg); };
    EXPECT_EQ(vmtest::RunVirtualMouse("/unplug"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return arrivals().size() >= 1; }));
    EXPECT_EQ(sink.received.back().wParam, 0u);
    // A second unplug changes nothing; transfers are refused meanwhile.
    EXPECT_EQ(vmtest::RunVirtualMouse("/unplug"), 0);
    unsigned char report[8] = {0x01, 0x88, 0, 0, 0, 0, 0, 0x76};
    EXPECT_EQ(lib.SetFeature(report, 8), 0);

    // The notices reach the sink in order: a notice of the second unplug would
    // come before the plug's.
    EXPECT_EQ(vmtest::RunVirtualMouse("/plug"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return arrivals().size() >= 2; }));
    EXPECT_EQ(arrivals(), (std::vector<WPARAM>{0, 1}));
    EXPECT_EQ(vmtest::RunVirtualMouse("/plug"), 0);
    // Monitor reopens on arrival; transfers go through again.
    EXPECT_EQ(lib.Open_FeatureDevice(), 1);
    EXPECT_EQ(lib.SetFeature(report, 8), 1);
    // Likewise a notice of the second plug would come before the next unplug's.
    EXPECT_EQ(vmtest::RunVirtualMouse("/unplug"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return arrivals().size() >= 3; }));
    EXPECT_EQ(arrivals(), (std::vector<WPARAM>{0, 1, 0}));
}

TEST_F(KorrinVirtualMouse, AReplugOnOneCommandLineIsOneRemovalThenOneArrival) {
    OpenAll();
    // Unplugged and plugged back within milliseconds: by the time anyone
    // looks, the mouse is there again, yet it may have lost its settings.
    EXPECT_EQ(vmtest::RunVirtualMouse("/unplug /plug"), 0);
    // An event injected afterwards reaches the client after whatever the
    // replug told it.
    EXPECT_EQ(vmtest::RunVirtualMouse("/event option"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return Count(sink.received, kEventMsg) >= 1; }));
    EXPECT_EQ(WParamsOf(sink.received, kArrivalMsg), (std::vector<WPARAM>{0, 1}));
    EXPECT_EQ(sink.received.back().msg, kEventMsg);
}

TEST_F(KorrinVirtualMouse, InjectedEventsArriveSplitIntoHighAndLowWords) {
    OpenAll();
    EXPECT_EQ(vmtest::RunVirtualMouse("/event 0x40000103"), 0);
    EXPECT_EQ(vmtest::RunVirtualMouse("/event sensitivity:10,12 /event option"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return Count(sink.received, kEventMsg) >= 3; }));
    const std::vector<Received> events = Only(sink.received, kEventMsg);
    EXPECT_EQ(events[0].wParam, 0x4000u);
    EXPECT_EQ(events[0].lParam, 0x0103);
    EXPECT_EQ(events[1].wParam, 0xC000u);
    EXPECT_EQ(events[1].lParam, 0x0C0A);
    EXPECT_EQ(events[2].wParam, 0xA000u);
    EXPECT_EQ(events[2].lParam, 0);
    EXPECT_TRUE(Contains(Log(), "EVENT 40 00 01 03"));

    // An unplugged mouse sends nothing; a malformed command is refused. The
    // plug that follows is noticed after anything they wrongly sent.
    EXPECT_EQ(vmtest::RunVirtualMouse("/unplug"), 0);
    EXPECT_EQ(vmtest::RunVirtualMouse("/event press:1"), 1);
    EXPECT_EQ(vmtest::RunVirtualMouse("/event press:99"), 2);
    EXPECT_EQ(vmtest::RunVirtualMouse("/plug"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return Count(sink.received, kArrivalMsg) >= 2; }));
    EXPECT_EQ(Count(sink.received, kEventMsg), 3);
}

TEST_F(KorrinVirtualMouse, VirtualMouseClosingIsARemovalAndHardwareIsAbsent) {
    OpenAll();
    vmtest::StopVirtualMouse(vm);
    ASSERT_TRUE(e2e::WaitUntil([&] { return Count(sink.received, kArrivalMsg) >= 1; }));
    EXPECT_EQ(sink.received.back().wParam, 0u);
    // No virtual mouse and no hardware here: nothing opens, nothing is sent.
    EXPECT_EQ(lib.Open_ReportDevice(), 0);
    EXPECT_EQ(lib.Open_FeatureDevice(), 0);
    unsigned char report[8] = {0x01, 0x88, 0, 0, 0, 0, 0, 0x76};
    EXPECT_EQ(lib.SetFeature(report, 8), 0);
}

TEST_F(KorrinVirtualMouse, CaptureOnRequestListsWhatWasSentWithoutMacroContents) {
    const std::string capture = vmtest::ExeFolder() + "logs\\korrin-capture.txt";
    DeleteFileA(capture.c_str());
    char path[MAX_PATH] = {};
    // No capture without a request.
    OpenAll();
    EXPECT_EQ(lib.Get_CaptureState(), 0);
    EXPECT_EQ(lib.Get_CapturePath(path, sizeof path), 0);
    unsigned char report[8] = {0x02, 0x01, 0, 0, 0, 0, 0, 0xFC};
    EXPECT_EQ(lib.SetFeature(report, 8), 1);
    EXPECT_EQ(GetFileAttributesA(capture.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_EQ(lib.Start_Capture(), 1);
    EXPECT_EQ(lib.Get_CaptureState(), 1);
    EXPECT_EQ(lib.SetFeature(report, 8), 1);
    unsigned char chunk[64];
    for (int i = 0; i < 64; ++i) chunk[i] = static_cast<unsigned char>(i);
    EXPECT_EQ(lib.WriteUSB(chunk, 64), 1);
    // A macro block: its command and two chunks of keystrokes.
    unsigned char macro[8] = {0x0F, 0x15, 0x80, 0, 0, 0, 0, 0x5B};
    unsigned char keys[64] = {0x00, 0x02, 0x0D, 0xA7, 0x81, 0xA7};
    EXPECT_EQ(lib.SetFeature(macro, 8), 1);
    EXPECT_EQ(lib.WriteUSB(keys, 64), 1);
    EXPECT_EQ(lib.WriteUSB(keys, 64), 1);
    const int n = lib.Get_CapturePath(path, sizeof path);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(path, n), capture);
    // The path is cut safely to the buffer, and always terminated.
    char small[8];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(lib.Get_CapturePath(small, sizeof small), 7);
    EXPECT_EQ(small[7], '\0');
    lib.Close_FeatureDevice();
    lib.Close_ReportDevice();
    lib.Close_DevMonitor();
    lib.Unload();
    const std::string text = vmtest::ReadFile(capture);

    EXPECT_EQ(text.rfind("korrin capture started", 0), 0u) << text;
    const std::string vpath = "virtual mouse (window class MouseVirtualDeviceWindow)";
    // The device as the library sees it, then every report sent.
    EXPECT_NE(text.find("command channel: " + vpath), std::string::npos) << text;
    EXPECT_NE(text.find("feature report to " + vpath + " [8] 02 01 00 00 00 00 00 FC : sent"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("output report to " + vpath + " [64] 00 01 02 03 04"), std::string::npos)
        << text;
    EXPECT_NE(text.find("feature report to " + vpath +
                        " [8] macro block command, contents withheld : sent"),
              std::string::npos)
        << text;
    const std::string withheld =
        "output report to " + vpath + " [64] macro block data, contents withheld : sent";
    const std::size_t first = text.find(withheld);
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find(withheld, first + 1), std::string::npos) << "both chunks";
    EXPECT_EQ(text.find("0F 15 80"), std::string::npos) << text;
    EXPECT_EQ(text.find("0D A7"), std::string::npos) << text;
    DeleteFileA(capture.c_str());
}

TEST_F(KorrinVirtualMouse, DeviceReportDescribesTheChannels) {
    OpenAll();
    char text[4096];
    const int n = lib.Get_DeviceReport(text, sizeof text);
    ASSERT_GT(n, 0);
    const std::string report(text, n);
    EXPECT_EQ(report.size(), std::strlen(text));
    EXPECT_NE(report.find("virtual mouse (window class MouseVirtualDeviceWindow) for vid 04D9 "
                          "pid AD50\r\nplugged\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("chunk channel: "), std::string::npos) << report;
    // Cut to the buffer, terminated.
    char small[16];
    EXPECT_EQ(lib.Get_DeviceReport(small, sizeof small), 15);
    EXPECT_EQ(std::string(small), report.substr(0, 15));
}

TEST_F(KorrinVirtualMouse, FullUploadConfiguresTheVirtualMouse) {
    auto block = std::make_unique<settings::SettingsBlock>();
    std::memset(block.get(), 0, sizeof(settings::SettingsBlock));
    settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
    block->currentProfile = 1;
    block->profiles[1].PollingRate = 3;
    block->profiles[1].CpiStep = 2;
    testsupport::SetMacro(block->profiles[1].MacroKeyInfo[4], {{0x04, 1, 120}, {0x04, 2, 0}}, 2);

    device::DeviceLink link;
    ASSERT_TRUE(link.Bind(vmtest::DistFolder()));
    ASSERT_TRUE(link.OpenAtStartup(sink.Hwnd()));
    std::atomic<std::int32_t> abort{0};
    EXPECT_TRUE(device::RunUploadJob(protocol::UploadJob::Full, *block, link, abort, {}));

    const auto log = Log();
    // 5 begin, 1 select, 5 + 5 settings, 5 parameter and 5 key map blocks, 1 macro.
    EXPECT_EQ(CountKind(log, "FEATURE"), 27);
    EXPECT_EQ(CountKind(log, "OUTPUT"), 22);
    const std::string dump = Dump();
    EXPECT_NE(dump.find("selected_profile 2\nbegin_configuration 5\n"
                        "errors checksum 0 unknown 0 argument 0 chunk 0 incomplete 0\n"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("profile 2\n  report_interval_ms 1\n  dpi_stage 3\n"
                        "  cpi_x 400 1500 3000 6000\n  cpi_y 400 1500 3000 6000\n"
                        "  sensitivity 100 100\n  lighting 2 3 3\n"
                        "  leds 28C8FF FF0000 19C800 AA00D2 FF0000 FF0000\n"
                        "  key 0 01 00 F0 00 click left\n"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("  key 4 09 00 15 02 macro slot 21 events 2\n"), std::string::npos);
    EXPECT_NE(dump.find("macro 21 repeat 2 events 2\n  press 04 state 0D\n  release 04 state 81\n"),
              std::string::npos);
    link.Shutdown();
}

}  // namespace

namespace {

// The description file is read beside the library, not beside the program:
// a copy of korrin.dll in a folder of its own, with a damaged file next to
// it, names the file and the problem in its device report.
TEST(KorrinDescriptionFile, ADamagedFileBesideTheLibraryIsNamedInTheDeviceReport) {
    const std::string folder = vmtest::TempFile("korrin_description_test\\");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string dll = folder + "korrin.dll";
    const std::string ini = folder + "korrin-device.ini";
    ASSERT_TRUE(CopyFileA((vmtest::DistFolder() + "korrin.dll").c_str(), dll.c_str(), FALSE));
    {
        FILE* f = std::fopen(ini.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("[Events]\r\nLength = 8\r\nDataMask = 0\r\n", f);
        std::fclose(f);
    }
    HMODULE module = LoadLibraryA(dll.c_str());
    ASSERT_NE(module, nullptr);
    using TextFn = int(__stdcall*)(char*, int);
    auto report = reinterpret_cast<TextFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "Get_DeviceReport")));
    ASSERT_NE(report, nullptr);
    std::vector<char> text(64 * 1024);
    EXPECT_GT(report(text.data(), static_cast<int>(text.size())), 0);
    const std::vector<std::string> lines = vmtest::SplitLines(text.data());
    const auto line = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("device description: ", 0) == 0;
    });
    ASSERT_NE(line, lines.end()) << text.data();
    EXPECT_NE(line->find("korrin_description_test\\korrin-device.ini: DataMask is zero; the "
                         "built-in description is used"),
              std::string::npos)
        << *line;
    FreeLibrary(module);
    DeleteFileA(ini.c_str());
    DeleteFileA(dll.c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
