// A full upload (job 2) through korrin.dll to a running VirtualMouse.exe: the
// wall time from the first to the last transfer as the virtual mouse stamped
// them, against the minimum the pauses mandate (the same job run on virtual
// time in this program). Target ratio: 1.00 .. 1.02.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/settings/settings_block.h"
#include "monitor/device/device_link_win.h"
#include "monitor/device/precise_pacer_win.h"
#include "monitor/device/upload_runner.h"
#include "monitor/device/upload_sequence.h"
#include "bench/support/bench_virtual_mouse_win.h"
#include "tests/support/program_folder_win.h"

namespace {

// The program folder the run names, else the current one.
std::string Dist() {
    const std::string dist = testsupport::DistFolder();
    return dist.empty() ? std::string(".\\") : dist;
}

class LinkTransport : public device::Transport {
  public:
    explicit LinkTransport(device::DeviceLink& link) : link_(link) {}
    void SendCommand(const device::CommandReport& r) override { link_.SendCommand(r); }
    int WriteChunk(const device::DataChunk& c) override { return link_.WriteChunk(c); }

  private:
    device::DeviceLink& link_;
};

// Virtual time: the job as the document paces it, with no transfer cost.
class VirtualPacer : public device::Pacer {
  public:
    std::int64_t NowMicros() override { return now; }
    void SleepMicros(std::int64_t us) override { now += us; }
    std::int64_t now = 0;
};

class StampTransport : public device::Transport {
  public:
    explicit StampTransport(VirtualPacer& p) : pacer_(p) {}
    void SendCommand(const device::CommandReport&) override { Stamp(); }
    int WriteChunk(const device::DataChunk&) override {
        Stamp();
        return 1;
    }
    std::int64_t first = -1, last = -1;
    int count = 0;
    std::vector<std::int64_t> times;

  private:
    void Stamp() {
        if (first < 0)
            first = pacer_.now;
        last = pacer_.now;
        ++count;
        times.push_back(pacer_.now);
    }
    VirtualPacer& pacer_;
};

}  // namespace

int main() {
    const std::string dist = Dist();
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string log = std::string(tmp) + "bench_device_upload.log";
    DeleteFileA(log.c_str());

    const bool started = FindWindowA("MouseVirtualDeviceWindow", nullptr) == nullptr;
    if (started) {
        bench::StartVirtualMouse(dist, log);
        Sleep(1000);  // let the new process settle (first paint) before timing
    } else {
        bench::VirtualMouseCommand(dist, "/plug /clearlog /log \"" + log + "\"");
    }

    auto block = std::make_unique<settings::SettingsBlock>();
    std::memset(block.get(), 0, sizeof(settings::SettingsBlock));
    settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
    // One recorded macro and one fixed shortcut, so macro blocks are timed too.
    block->profiles[0].MacroKeyInfo[4].actionCode = 16;
    block->profiles[0].MacroKeyInfo[4].eventCount = 2;
    block->profiles[0].MacroKeyInfo[4].events[0] = {0x04, 1, 50};
    block->profiles[0].MacroKeyInfo[4].events[1] = {0x04, 2, 0};
    block->profiles[3].MacroKeyInfo[6].actionCode = 48;

    // Baseline: the mandated span from the first to the last transfer.
    std::atomic<std::int32_t> noAbort{0};
    VirtualPacer virtualTime;
    StampTransport stamps(virtualTime);
    device::UploadSequence reference(stamps, virtualTime, noAbort);
    reference.Run(protocol::UploadJob::Full, *block);
    const double mandatedMs = static_cast<double>(stamps.last - stamps.first) / 1000.0;

    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchDeviceSink";
    RegisterClassA(&wc);
    HWND sink = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);

    device::DeviceLink link;
    if (!link.Bind(dist) || !link.OpenAtStartup(sink)) {
        std::printf("device_upload: korrin.dll or the virtual mouse is not available in %s\n",
                    dist.c_str());
        if (started)
            bench::QuitVirtualMouse(dist);
        return 0;
    }
    std::atomic<std::int32_t> abort{0};
    // 1. Monitor's path: RunUploadJob with the precise clock.
    device::RunUploadJob(protocol::UploadJob::Full, *block, link, abort, {});
    // 2. The fallback pacing: 1 ms timer period and whole-millisecond sleeps.
    {
        LinkTransport transport(link);
        device::PrecisePacer coarse(device::PrecisePacer::SleepMethod::WholeMilliseconds);
        auto sequence = std::make_unique<device::UploadSequence>(transport, coarse, abort);
        sequence->Run(protocol::UploadJob::Full, *block);
    }
    link.Shutdown();

    // The virtual mouse's own stamps of the transfers, both runs in order.
    const std::vector<std::int64_t> times = bench::TransferStamps(log);
    if (started)
        bench::QuitVirtualMouse(dist);

    const std::size_t n = stamps.times.size();
    std::printf("device_upload: full upload of %zu transfers, mandated first..last %.1f ms\n", n,
                mandatedMs);
    const char* names[2] = {"precise clock (interval delay)",
                            "timer period 1 ms + Sleep (fallback)"};
    for (int run = 0; run < 2; ++run) {
        if (times.size() < n * (run + 1)) {
            std::printf("device_upload: run %d recorded %zu transfers, expected %zu\n", run + 1,
                        times.size() - std::min(times.size(), n * run), n);
            continue;
        }
        const std::int64_t* t = times.data() + n * run;
        double excessSum = 0, excessMax = 0;
        for (std::size_t i = 1; i < n; ++i) {
            const double excess =
                static_cast<double>((t[i] - t[i - 1]) - (stamps.times[i] - stamps.times[i - 1])) /
                1000.0;
            excessSum += excess;
            excessMax = std::max(excessMax, excess);
        }
        const double wallMs = static_cast<double>(t[n - 1] - t[0]) / 1000.0;
        std::printf(
            "device_upload: [%s] wall %.1f ms, ratio wall/mandated %.4f (target 1.00 .. "
            "1.02), gap overrun mean %.2f ms, max %.2f ms\n",
            names[run], wallMs, mandatedMs > 0 ? wallMs / mandatedMs : 0.0,
            excessSum / static_cast<double>(n - 1), excessMax);
    }
    return 0;
}
