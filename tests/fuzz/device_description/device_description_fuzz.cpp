// A device description file as a user or a support engineer may write it:
// taken whole or refused with one line, and a description that was taken
// decodes any report without reading beyond it and gives back every event
// it can carry.
#include <cstdint>
#include <string>
#include <string_view>

#include "korrin/device_description.h"
#include "tests/fuzz/support/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string file = "korrin-device.ini";
    const korrin::DescriptionLoad load = korrin::ParseDescription(text, file);
    FUZZ_CHECK(!korrin::DescriptionLine(load).empty());
    if (!load.problem.empty()) {
        FUZZ_CHECK(load.description == korrin::DeviceDescription{});
        FUZZ_CHECK(load.problem.rfind(file, 0) == 0);
        FUZZ_CHECK(load.problem.find('\n') == std::string::npos);
        return 0;
    }
    const korrin::EventFormat& format = load.description.event;
    // The file's own bytes as input reports of every length up to a few past
    // the format's: never read beyond.
    const std::span<const std::uint8_t> bytes(data, size);
    for (std::size_t n = 0; n <= std::min<std::size_t>(size, format.length + 2u); ++n)
        (void)korrin::DecodeEvent(format, bytes.first(n));
    // Every event the format can carry comes back as it went.
    const std::uint32_t codes[] = {0x40000103, 0x40000203, 0xA0000000, 0x7F000001,
                                   0xF0000126, 0x00010001, 0xFFFFFFFF};
    for (std::uint32_t code : codes) {
        const auto report = korrin::EncodeEvent(format, code, 0);
        if (report.empty())
            continue;
        FUZZ_CHECK(report.size() == format.length);
        FUZZ_CHECK(korrin::DecodeEvent(format, report) == code);
    }
    for (const korrin::CategoryMapping& m : format.categories) {
        const std::uint32_t code = (std::uint32_t{m.category} << 16) | 1u;
        const auto report = korrin::EncodeEvent(format, code, 0);
        if (!report.empty())
            FUZZ_CHECK(korrin::DecodeEvent(format, report) == code);
    }
    return 0;
}
