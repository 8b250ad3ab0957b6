#include "monitor/runtime/osd_notices.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/protocol.h"

namespace runtime {

OsdOptions OsdOptionsFromRecord(const void* record, std::size_t size) {
    OsdOptions o;
    if (record == nullptr || size < 40)
        return o;
    const auto* bytes = static_cast<const unsigned char*>(record);
    std::memcpy(&o.showProfile, bytes + 8, 4);
    std::memcpy(&o.showMacro, bytes + 12, 4);
    std::memcpy(&o.showCpi, bytes + 24, 4);
    std::memcpy(&o.first, bytes + 32, 2);
    std::memcpy(&o.second, bytes + 36, 2);
    return o;
}

void OsdNotices::Post(unsigned kind, std::intptr_t lParam) {
    const std::uintptr_t window = channel_.FindOsdWindow();
    if (window == 0)
        return;
    channel_.PostToOsd(window, protocol::kMsgOsdNotice, kind, lParam);
}

void OsdNotices::Profile(int index) {
    if (options_.showProfile != 1)
        return;
    Post(kNoticeProfile, static_cast<std::intptr_t>(index) * 65536);
}

void OsdNotices::Cpi(const settings::ProfileRecord& profile) {
    if (options_.showCpi != 1)
        return;
    // The mouse reports stages up to 8; only the first five have a level.
    const int step = profile.CpiStep;
    if (step < 0 || step >= 5)
        return;
    char text[32];
    std::snprintf(text, sizeof text, "CPI: %d", profile.CpiLevel_X[step] * kCpiNoticeFactor);
    channel_.WriteConfig("OSDData", "Message", text);
    Post(kNoticeText, 0);
}

void OsdNotices::Macro(int button, const settings::ButtonAssignment& record) {
    if (options_.showMacro != 1)
        return;
    if (record.actionCode != settings::action::kMacro)
        return;
    const int number = (button == 13 || button == 14) ? button - 10 : button;
    char numberText[16];
    std::snprintf(numberText, sizeof numberText, "%d", number);
    const std::string name(record.macroName, settings::FieldLength(record.macroName));
    channel_.WriteConfig("MacroOSD", "Number", numberText);
    channel_.WriteConfig("MacroOSD", "MacroName", name.c_str());
    Post(kNoticeMacro, 0);
}

void OsdNotices::AppletText(const char* text, bool connected) {
    channel_.WriteConfig("OSDData", "Message", text != nullptr ? text : "");
    if (connected)
        Post(kNoticeText, 0);
}

void OsdNotices::SettingsChanged() {
    const std::uintptr_t window = channel_.FindOsdWindow();
    if (window == 0)
        return;
    const auto high = static_cast<std::uint32_t>(static_cast<std::uint16_t>(options_.first));
    const std::uint32_t value = (high << 16) | options_.second;
    channel_.PostToOsd(window, protocol::kMsgDeviceArrival, 0,
                       static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

}  // namespace runtime
