// VirtualMouse.exe: stands in for the mouse when no hardware is there. It
// answers korrin.dll's requests, records every transfer, decodes what the
// transfers configure, and injects device events.
#include <windows.h>

#include <dbt.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "korrin/description_load_win.h"
#include "korrin/virtual_device_protocol.h"
#include "tools/VirtualMouse/event_syntax.h"
#include "tools/VirtualMouse/transfer_log.h"
#include "tools/VirtualMouse/virtual_firmware.h"
#include "tools/VirtualMouse/vm_command.h"

namespace {

namespace vdev = korrin::vdev;

constexpr UINT kIdPlug = 101;
constexpr UINT kIdEventCombo = 102;
constexpr UINT kIdInject = 103;
constexpr UINT kIdStatus = 104;
constexpr UINT kIdState = 105;
constexpr UINT_PTR kRefreshTimer = 1;
// The display is redrawn once transfers have paused this long: a redraw
// takes long enough to delay the answer to a transfer arriving meanwhile.
constexpr UINT kRefreshMs = 400;
constexpr int kSwatchTop = 46;
constexpr int kSwatchRow = 22;

class VirtualMouseWnd : public win::WindowImpl<VirtualMouseWnd> {
  public:
    ~VirtualMouseWnd() override { DestroyWindowNow(); }
    static std::span<const win::MessageRow<VirtualMouseWnd>> MessageMap() {
        static constexpr win::MessageRow<VirtualMouseWnd> own[] = {
            win::OnMessage<WM_COPYDATA, &VirtualMouseWnd::OnCopyData>(),
            win::OnMessage<WM_PAINT, &VirtualMouseWnd::OnPaint>(),
            win::OnMessage<WM_TIMER, &VirtualMouseWnd::OnTimer>(),
            win::OnCommand<&VirtualMouseWnd::OnPlugButton>(kIdPlug),
            win::OnCommand<&VirtualMouseWnd::OnInject>(kIdInject),
        };
        static constexpr auto rows =
            win::Checked(win::JoinRows(LifetimeRows(), std::to_array(own)));
        return rows;
    }

    bool CreateMain(int show) {
        win::WindowSpec spec;
        spec.className = vdev::kWindowClass;
        spec.title = "Virtual Mouse";
        spec.style = WS_OVERLAPPEDWINDOW & ~(WS_MAXIMIZEBOX | WS_THICKFRAME);
        spec.width = 660;
        spec.height = 600;
        spec.cursor = LoadCursor(nullptr, IDC_ARROW);
        spec.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        if (!Create(spec))
            return false;
        ShowWindow(Hwnd(), show);
        return true;
    }

    // Runs parsed commands; false when one of them failed.
    bool Execute(const std::vector<vmouse::Command>& commands) {
        bool ok = true;
        for (const vmouse::Command& c : commands) {
            switch (c.kind) {
                case vmouse::Command::Kind::Plug:
                    SetPlugged(true);
                    break;
                case vmouse::Command::Kind::Unplug:
                    SetPlugged(false);
                    break;
                case vmouse::Command::Kind::Event:
                    ok = Inject(c.code) && ok;
                    break;
                case vmouse::Command::Kind::Dump:
                    ok = WriteDump(c.path) && ok;
                    break;
                case vmouse::Command::Kind::Log:
                    ok = StartLog(c.path) && ok;
                    break;
                case vmouse::Command::Kind::ClearLog:
                    records_.clear();
                    break;
                case vmouse::Command::Kind::Reset:
                    firmware_.Reset();
                    Changed();
                    break;
                case vmouse::Command::Kind::Quit:
                    PostMessageA(Hwnd(), WM_CLOSE, 0, 0);
                    break;
            }
        }
        return ok;
    }

  private:
    friend class win::WindowImpl<VirtualMouseWnd>;  // the shared groups of rows

    LRESULT OnCreate() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
        HINSTANCE inst = GetModuleHandleA(nullptr);
        auto child = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
                         UINT id) {
            HWND c =
                CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, Hwnd(),
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), inst, nullptr);
            SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                         0);
            return c;
        };
        child("BUTTON", "Unplug", BS_PUSHBUTTON, 10, 10, 100, 26, kIdPlug);
        HWND combo =
            child("COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL, 120, 12, 200, 300, kIdEventCombo);
        for (const std::string& e : vmouse::NamedEventExamples())
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
        SetWindowTextA(combo, "press:1");
        child("BUTTON", "Inject", BS_PUSHBUTTON, 330, 10, 80, 26, kIdInject);
        child("STATIC", "", SS_LEFT, 420, 15, 220, 20, kIdStatus);
        HWND state =
            child("EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER,
                  10, kSwatchTop + 5 * kSwatchRow + 10, 630, 400, kIdState);
        SendMessageA(state, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)),
                     0);
        Changed();
        return 0;
    }

    void OnDestroy() {
        KillTimer(Hwnd(), kRefreshTimer);
        if (log_ != nullptr)
            std::fclose(log_);
        log_ = nullptr;
        PostQuitMessage(0);
    }

    void OnTimer(UINT_PTR id) {
        if (id != kRefreshTimer)
            return;
        KillTimer(Hwnd(), kRefreshTimer);
        refreshPending_ = false;
        Refresh();
    }

    // Colours of each profile's LED slots as swatches.
    void OnPaint() {
        const win::ScopedPaint paint(Hwnd());
        const HDC dc = paint.Get();
        SetBkMode(dc, TRANSPARENT);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        for (int n = 1; n <= vmouse::kProfiles; ++n) {
            const int y = kSwatchTop + (n - 1) * kSwatchRow;
            char label[48];
            const auto& p = firmware_.Profile(n);
            std::snprintf(label, sizeof label, "%s profile %d",
                          firmware_.SelectedProfile() == n ? ">" : " ", n);
            TextOutA(dc, 10, y + 2, label, static_cast<int>(std::strlen(label)));
            for (int i = 0; i < vmouse::kLedSlots; ++i) {
                RECT r{100 + i * 30, y, 100 + i * 30 + 24, y + 18};
                if (p.parametersSet) {
                    const win::ScopedGdi<HBRUSH> b(
                        CreateSolidBrush(RGB(p.leds[i].r, p.leds[i].g, p.leds[i].b)));
                    FillRect(dc, &r, b.Get());
                }
                FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            }
        }
    }

    void OnPlugButton() { SetPlugged(!plugged_); }

    void OnInject() {
        char text[128] = {};
        GetDlgItemTextA(Hwnd(), kIdEventCombo, text, sizeof text);
        const auto code = vmouse::ParseEventSpec(text);
        if (!code) {
            SetDlgItemTextA(Hwnd(), kIdStatus, "not an event");
            return;
        }
        Inject(*code);
    }

    LRESULT OnCopyData(HWND, const COPYDATASTRUCT* cds) {
        if (cds == nullptr)
            return 0;
        const auto* bytes = static_cast<const std::uint8_t*>(cds->lpData);
        const std::span<const std::uint8_t> data(bytes, bytes == nullptr ? 0 : cds->cbData);
        switch (cds->dwData) {
            // A command or a chunk for the firmware; refused while unplugged.
            case vdev::kOpSetFeature:
            case vdev::kOpWrite: {
                if (!plugged_)
                    return 0;
                const bool command = cds->dwData == vdev::kOpSetFeature;
                Record(command ? "FEATURE" : "OUTPUT", data);
                if (command)
                    firmware_.OnFeature(data);
                else
                    firmware_.OnChunk(data);
                Changed();
                return 1;
            }
            case vdev::kOpSetVidPid:
                Record("SET_VIDPID", data);
                if (data.size() == 2 * sizeof(std::uint16_t)) {
                    std::memcpy(&vendorId_, data.data(), sizeof vendorId_);
                    std::memcpy(&productId_, data.data() + 2, sizeof productId_);
                }
                return 1;
            // Opening a channel needs the mouse; closing one always works;
            // nothing is ever read back from the virtual mouse.
            case vdev::kOpOpenFeature:
            case vdev::kOpOpenReport:
                Record(cds->dwData == vdev::kOpOpenFeature ? "OPEN_FEATURE" : "OPEN_REPORT");
                return plugged_ ? 1 : 0;
            case vdev::kOpCloseFeature:
            case vdev::kOpCloseReport:
                Record(cds->dwData == vdev::kOpCloseFeature ? "CLOSE_FEATURE" : "CLOSE_REPORT");
                return 1;
            case vdev::kOpGetFeature:
            case vdev::kOpRead:
                Record(cds->dwData == vdev::kOpGetFeature ? "GET_FEATURE" : "READ");
                return 0;
            case vdev::kOpQueryPlugged:
                return plugged_ ? 1 : 0;
            case vdev::kOpRegister:
            case vdev::kOpUnregister: {
                if (data.size() != sizeof(std::uint64_t))
                    return 0;
                std::uint64_t raw = 0;
                std::memcpy(&raw, data.data(), sizeof raw);
                const HWND watch = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(raw));
                std::erase(watchers_, watch);
                if (cds->dwData == vdev::kOpRegister)
                    watchers_.push_back(watch);
                return 1;
            }
            case vdev::kOpCommand: {
                const std::string line(reinterpret_cast<const char*>(data.data()), data.size());
                std::string error;
                const auto commands = vmouse::ParseCommands(line.c_str(), error);
                if (!commands)
                    return 0;
                return Execute(*commands) ? 1 : 0;
            }
            default:
                return 0;
        }
    }

    std::int64_t Micros() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        const std::int64_t ticks = now.QuadPart - start_.QuadPart;
        const std::int64_t f = frequency_.QuadPart;
        return ticks / f * 1'000'000 + ticks % f * 1'000'000 / f;
    }

    void Record(const char* kind, std::span<const std::uint8_t> bytes = {}) {
        std::string line = vmouse::FormatLogLine(++sequence_, Micros(), kind, bytes);
        if (log_ != nullptr) {
            std::fprintf(log_, "%s\n", line.c_str());
            std::fflush(log_);
        }
        records_.push_back(std::move(line));
    }

    // An event goes as the input report the mouse would send, framed as the
    // description beside this program says, sent (and waited for) like the
    // device notices so that both keep their order. False when the framing
    // cannot carry the code (a category not in its table).
    bool SendEventReport(std::uint32_t code) {
        const korrin::EventFormat& format = description_.description.event;
        std::vector<std::uint8_t> report = korrin::EncodeEvent(format, code, format.length);
        if (report.empty())
            return false;
        Record("EVENT_REPORT", report);
        std::erase_if(watchers_, [](HWND w) { return !IsWindow(w); });
        COPYDATASTRUCT data{};
        data.dwData = vdev::kNoticeEventReport;
        data.cbData = static_cast<DWORD>(report.size());
        data.lpData = report.data();
        for (HWND w : watchers_) {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(w, WM_COPYDATA, reinterpret_cast<WPARAM>(Hwnd()),
                                reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                                vdev::kRequestTimeoutMs, &result);
        }
        return true;
    }

    // What the system sends a device notification window when a HID
    // interface arrives or is removed, sent (the structure travels with a
    // sent message only) and waited for, so that a replug on one command
    // line reaches the library as a removal and then an arrival.
    void NotifyDeviceChange(bool arrived) {
        std::erase_if(watchers_, [](HWND w) { return !IsWindow(w); });
        char path[160];
        std::snprintf(path, sizeof path, vdev::kDevicePathFormat, vendorId_, productId_);
        const std::size_t chars = std::strlen(path) + 1;
        std::vector<std::uint8_t> storage(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) +
                                          chars * sizeof(wchar_t));
        auto* notice = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
        notice->dbcc_size = static_cast<DWORD>(storage.size());
        notice->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        notice->dbcc_classguid = kHidInterfaceClass;
        for (std::size_t i = 0; i < chars; ++i)
            notice->dbcc_name[i] = static_cast<wchar_t>(static_cast<unsigned char>(path[i]));
        for (HWND w : watchers_) {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(w, WM_DEVICECHANGE,
                                arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                                reinterpret_cast<LPARAM>(notice), SMTO_ABORTIFHUNG,
                                vdev::kRequestTimeoutMs, &result);
        }
    }

    void SetPlugged(bool plugged) {
        if (plugged == plugged_)
            return;
        plugged_ = plugged;
        Record(plugged ? "PLUG" : "UNPLUG");
        NotifyDeviceChange(plugged);
        SetDlgItemTextA(Hwnd(), kIdPlug, plugged ? "Unplug" : "Plug");
        Changed();
    }

    bool Inject(std::uint32_t code) {
        if (!plugged_)
            return false;
        const std::uint8_t bytes[4] = {
            static_cast<std::uint8_t>(code >> 24), static_cast<std::uint8_t>(code >> 16),
            static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code)};
        Record("EVENT", bytes);
        return SendEventReport(code);
    }

    bool WriteDump(const std::string& path) {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr)
            return false;
        const std::string text =
            std::string("plugged ") + (plugged_ ? "1" : "0") + "\n" + firmware_.Dump();
        const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
        return std::fclose(f) == 0 && ok;
    }

    bool StartLog(const std::string& path) {
        if (log_ != nullptr)
            std::fclose(log_);
        log_ = std::fopen(path.c_str(), "wb");
        if (log_ == nullptr)
            return false;
        for (const std::string& line : records_) std::fprintf(log_, "%s\n", line.c_str());
        std::fflush(log_);
        return true;
    }

    // Display updates wait for a quiet moment so that transfers are answered
    // at once; every change restarts the timer.
    void Changed() {
        refreshPending_ = true;
        SetTimer(Hwnd(), kRefreshTimer, kRefreshMs, nullptr);
    }

    void Refresh() {
        char status[96];
        std::snprintf(status, sizeof status, "%s, %llu records", plugged_ ? "plugged" : "unplugged",
                      static_cast<unsigned long long>(sequence_));
        SetDlgItemTextA(Hwnd(), kIdStatus, status);
        std::string text;
        for (char c : firmware_.Dump()) {
            if (c == '\n')
                text += '\r';
            text += c;
        }
        SetDlgItemTextA(Hwnd(), kIdState, text.c_str());
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }

    // The HID interface class the system names in its device notices.
    static constexpr GUID kHidInterfaceClass = {
        0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

    vmouse::VirtualFirmware firmware_;
    bool plugged_ = true;
    std::uint16_t vendorId_ = 0x04D9;  // as the library selected, for the device path
    std::uint16_t productId_ = 0xAD50;
    std::vector<HWND> watchers_;
    // How the library beside this program reads events: the same file.
    const korrin::DescriptionLoad description_ =
        korrin::LoadDescriptionFrom(korrin::ModuleFolderW(&kRefreshMs));
    std::vector<std::string> records_;
    std::uint64_t sequence_ = 0;
    FILE* log_ = nullptr;
    bool refreshPending_ = false;
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int show) {
    const std::string line = commandLine != nullptr ? commandLine : "";
    std::string error;
    const auto commands = vmouse::ParseCommands(line, error);
    if (!commands) {
        std::fprintf(stderr, "VirtualMouse: %s\n", error.c_str());
        return 2;
    }

    // A running virtual mouse takes the commands; this instance only hands them on.
    if (HWND running = FindWindowA(vdev::kWindowClass, nullptr)) {
        COPYDATASTRUCT cds;
        cds.dwData = vdev::kOpCommand;
        cds.cbData = static_cast<DWORD>(line.size());
        cds.lpData = const_cast<char*>(line.data());
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds),
                                 SMTO_ABORTIFHUNG, 10000, &result))
            return 3;
        return result == 1 ? 0 : 1;
    }

    VirtualMouseWnd window;
    if (!window.CreateMain(show))
        return 4;
    window.Execute(*commands);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
