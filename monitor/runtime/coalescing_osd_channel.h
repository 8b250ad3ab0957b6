// The display program's channel with its config.ini writes held back until
// the window thread is idle: every notice rewrites config.ini whole under its
// lock (milliseconds each), far slower than CPI changes arrive when the mouse
// sends a burst of them. Writes of the same value replace each other, and a
// notice posted after a held-back write waits for it, so the display program
// still reads the text before it is told to show it; a burst ends with one
// rewrite and one notice per kind.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "monitor/runtime/osd_notices.h"

namespace runtime {

class CoalescingOsdChannel final : public OsdChannel {
  public:
    // `scheduleFlush` arranges for Flush to run once the messages already
    // queued are handled; false when it cannot, and the work is done at once.
    CoalescingOsdChannel(OsdChannel& inner, std::function<bool()> scheduleFlush)
        : inner_(inner), scheduleFlush_(std::move(scheduleFlush)) {}

    std::uintptr_t FindOsdWindow() override { return inner_.FindOsdWindow(); }
    void PostToOsd(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
    void WriteConfig(const char* section, const char* key, const char* value) override;

    // Writes what is held back, then posts the notices that waited for it.
    void Flush();
    bool Pending() const { return !writes_.empty() || !posts_.empty(); }

  private:
    struct Write {
        std::string section, key, value;
    };
    struct Post {
        std::uintptr_t window;
        unsigned message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        bool operator==(const Post&) const = default;
    };
    void Schedule();

    OsdChannel& inner_;
    std::function<bool()> scheduleFlush_;
    std::vector<Write> writes_;
    std::vector<Post> posts_;
    bool scheduled_ = false;
};

}  // namespace runtime
