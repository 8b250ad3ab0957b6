// report_layout <saved report> [--cpp]
//
// Reads a device report a user saved (the diagnostics report from the tray or
// the support page, or Get_DeviceReport's text) and shows the layout it
// rebuilds: every collection with its usage, report ids and lengths, and then
// the library's own channel choice run against exactly that layout, with
// every line the library logs. With --cpp it prints the layout as a function
// for a unit test (the fake devices of tests/unit/korrin) instead.
//
// Exit codes: 0 done, 1 lines of an interface could not be read (the layout
// would not be faithful), 2 usage or an unreadable file.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "korrin/device_report.h"
#include "korrin/hid_device.h"
#include "korrin/report_caps.h"

namespace {

using namespace korrin;

// Every transfer goes through at once: the tool shows the choice, not a device.
class ReplayHandle final : public HidHandle {
  public:
    bool Begin(TransferKind, std::vector<std::uint8_t> report) override {
        size_ = report.size();
        return true;
    }
    WaitResult Wait(std::uint32_t, bool) override { return WaitResult::Done; }
    void Cancel() override {}
    std::optional<std::size_t> Finish() override { return size_; }
    std::span<const std::uint8_t> Received() const override { return {}; }
    std::uint32_t Error() const override { return 0; }
    void Abort() override {}
    std::uintptr_t Waitable() const override { return 0; }

  private:
    std::size_t size_ = 0;
};

// The user's system as the report shows it.
class ReplaySystem final : public HidSystem {
  public:
    explicit ReplaySystem(const ReportLayout& layout) : layout_(layout) {}
    std::vector<InterfaceEntry> Interfaces() override {
        std::vector<InterfaceEntry> out;
        for (const CollectionInfo& c : layout_.collections)
            out.push_back({c.path, Usage{c.usagePage, c.usage}, c.deviceKey, c.hardwareIds});
        return out;
    }
    std::optional<CollectionInfo> Describe(const std::string& path) override {
        for (const CollectionInfo& c : layout_.collections)
            if (c.path == path)
                return c;
        return std::nullopt;
    }
    OpenResult Open(const std::string& path, Access access) override {
        constexpr std::uint32_t kAccessDenied = 5;
        for (const std::string& refusing : layout_.refusesReadWrite)
            if (refusing == path && access != Access::None)
                return {nullptr, kAccessDenied};
        return {std::make_unique<ReplayHandle>(), 0};
    }
    std::unique_ptr<RemovalNotice> WatchRemoval(HidHandle&, const std::string&) override {
        return nullptr;
    }
    std::uint64_t NowMs() override { return 0; }

  private:
    const ReportLayout& layout_;
};

class PrintSink final : public LogSink {
  public:
    void Debug(const std::string& line) override { std::printf("  library: %s\n", line.c_str()); }
    bool OpenCapture() override { return false; }
    void WriteCapture(const std::string&) override {}
    void CloseCapture() override {}
    std::string CapturePath() const override { return {}; }
};

class NoStore final : public ChoiceStore {
  public:
    std::optional<RememberedChoice> Load(std::uint16_t, std::uint16_t, Role) override {
        return std::nullopt;
    }
    void Save(std::uint16_t, std::uint16_t, Role, const RememberedChoice&) override {}
    std::string Where() const override { return "nowhere (report_layout)"; }
};

std::string Spec(const ReportSpec& spec) {
    std::string text = "{" + std::to_string(spec.length) + ", {";
    for (const ReportLength& r : spec.reports)
        text += "{" + std::to_string(r.id) + ", " + std::to_string(r.length) + "}, ";
    return text + "}}";
}

void PrintCpp(const ReportLayout& layout) {
    std::printf(
        "// Rebuilt by report_layout from a user's device report.\n"
        "std::vector<fake::FakeCollection> UserLayout() {\n"
        "    std::vector<fake::FakeCollection> layout;\n");
    for (const CollectionInfo& c : layout.collections) {
        bool refuses = false;
        for (const std::string& p : layout.refusesReadWrite) refuses = refuses || p == c.path;
        std::printf("    {\n        fake::FakeCollection c;\n");
        std::printf("        c.info.path = R\"(%s)\";\n", c.path.c_str());
        std::printf("        c.info.vendorId = 0x%04X;\n        c.info.productId = 0x%04X;\n",
                    c.vendorId, c.productId);
        std::printf("        c.info.usagePage = 0x%04X;\n        c.info.usage = 0x%04X;\n",
                    c.usagePage, c.usage);
        std::printf("        c.info.version = 0x%04X;\n", c.version);
        std::printf("        c.info.product = R\"(%s)\";\n", c.product.c_str());
        std::printf("        c.info.manufacturer = R\"(%s)\";\n", c.manufacturer.c_str());
        std::printf("        c.info.hardwareIds = R\"(%s)\";\n", c.hardwareIds.c_str());
        std::printf("        c.info.input = %s;\n", Spec(c.input).c_str());
        std::printf("        c.info.output = %s;\n", Spec(c.output).c_str());
        std::printf("        c.info.feature = %s;\n", Spec(c.feature).c_str());
        for (const ReportCap& cap : c.caps)
            std::printf("        c.info.caps.push_back(*ParseCap(\"%s\"));\n",
                        CapText(cap).c_str());
        std::printf("        c.deviceKey = R\"(%s)\";\n", c.deviceKey.c_str());
        std::printf("        c.refusesReadWrite = %s;\n", refuses ? "true" : "false");
        std::printf("        layout.push_back(std::move(c));\n    }\n");
    }
    std::printf("    return layout;\n}\n");
}

void PrintChoice(const ReportLayout& layout) {
    std::printf("device %04X:%04X, %zu collections\n", layout.vendorId, layout.productId,
                layout.collections.size());
    for (const CollectionInfo& c : layout.collections) {
        std::printf("%s\n  usage page %04X usage %04X%s\n", c.path.c_str(), c.usagePage, c.usage,
                    IsPrivateCollection({c.usagePage, c.usage}) ? " (keyboard or digitizer)" : "");
        const std::pair<ReportType, const ReportSpec*> types[] = {
            {ReportType::Input, &c.input},
            {ReportType::Output, &c.output},
            {ReportType::Feature, &c.feature}};
        for (const auto& [type, spec] : types) {
            if (spec->length == 0)
                continue;
            std::printf("  %s buffer %u:", ReportTypeName(type), spec->length);
            for (const ReportLength& r : spec->reports)
                std::printf(" id %u length %u;", r.id, r.length);
            // Where the report holds caps, the lengths they declare must agree.
            if (!c.caps.empty() && DeclaredLengths(c.caps, type, spec->length) != spec->reports)
                std::printf(" (the caps declare other lengths)");
            std::printf("\n");
        }
    }
    std::printf("the library's channel choice on this layout:\n");
    ReplaySystem system(layout);
    PrintSink sink;
    CaptureLog log(sink, [] { return std::uint64_t{0}; });
    NoStore store;
    HidDevice device(system, log, store);
    device.SetIds(layout.vendorId, layout.productId);
    const std::uint8_t command[8] = {};
    const std::uint8_t chunk[64] = {};
    const bool feature = device.OpenFeature();
    const bool report = device.OpenReport();
    std::printf("command channel %s, chunk channel %s\n", feature ? "open" : "none",
                report ? "open" : "none");
    if (feature)
        device.SetFeature(command);
    if (report)
        device.Write(chunk);
}

}  // namespace

int main(int argc, char** argv) {
    const bool cpp = argc == 3 && std::string(argv[2]) == "--cpp";
    if (argc != 2 && !cpp) {
        std::fprintf(stderr, "usage: report_layout <saved report> [--cpp]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "report_layout: cannot read %s\n", argv[1]);
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    const ReportLayout layout = ParseDeviceReport(text.str());
    for (const std::string& line : layout.unreadable)
        std::fprintf(stderr, "report_layout: not understood: %s\n", line.c_str());
    if (layout.collections.empty()) {
        std::fprintf(stderr, "report_layout: no interface of a device in %s\n", argv[1]);
        return 2;
    }
    if (cpp)
        PrintCpp(layout);
    else
        PrintChoice(layout);
    return layout.unreadable.empty() ? 0 : 1;
}
