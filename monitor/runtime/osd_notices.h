// Notices for the on-screen display program. Everything is fire-and-forget:
// the display window is looked up for each notice and, when it is absent,
// the notice is dropped.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/protocol.h"
#include "common/settings/settings_block.h"

namespace runtime {

// Notice kinds (wParam of message kMsgOsdNotice).
inline constexpr unsigned kNoticeProfile = protocol::kOsdNoticeProfile;
inline constexpr unsigned kNoticeText = protocol::kOsdNoticeText;
inline constexpr unsigned kNoticeMacro = protocol::kOsdNoticeMacro;
inline constexpr int kCpiNoticeFactor = 90;

// The fields of the OSD settings record that Monitor uses.
struct OsdOptions {
    std::int32_t showProfile = 0;
    std::int32_t showMacro = 0;
    std::int32_t showCpi = 0;
    std::int16_t first = 0;    // low half of the int at offset 32
    std::uint16_t second = 0;  // low half of the int at offset 36
};

// Reads the options out of the 348-byte record (size checked).
OsdOptions OsdOptionsFromRecord(const void* record, std::size_t size);

// Monitor's side: the display window, posting to it, config.ini.
class OsdChannel {
  public:
    virtual ~OsdChannel() = default;
    virtual std::uintptr_t FindOsdWindow() = 0;  // 0 when absent
    virtual void PostToOsd(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam) = 0;
    virtual void WriteConfig(const char* section, const char* key, const char* value) = 0;
};

class OsdNotices {
  public:
    explicit OsdNotices(OsdChannel& channel) : channel_(channel) {}

    void SetOptions(const OsdOptions& options) { options_ = options; }
    const OsdOptions& Options() const { return options_; }

    // After a profile switch.
    void Profile(int index);
    // After the mouse changed its CPI stage; profile is the current profile.
    void Cpi(const settings::ProfileRecord& profile);
    // Macro button pressed; button is 0-based (0..14).
    void Macro(int button, const settings::ButtonAssignment& record);
    // Text handed over by an applet.
    void AppletText(const char* text, bool connected);
    // The OSD settings were reloaded.
    void SettingsChanged();

    std::uintptr_t Window() { return channel_.FindOsdWindow(); }

  private:
    void Post(unsigned kind, std::intptr_t lParam);

    OsdChannel& channel_;
    OsdOptions options_{};
};

}  // namespace runtime
