#include "monitor/runtime/coalescing_osd_channel.h"

#include <algorithm>

namespace runtime {

void CoalescingOsdChannel::WriteConfig(const char* section, const char* key, const char* value) {
    const auto same = std::find_if(writes_.begin(), writes_.end(), [&](const Write& w) {
        return w.section == section && w.key == key;
    });
    if (same != writes_.end()) {
        same->value = value;
    } else {
        writes_.push_back({section, key, value});
    }
    Schedule();
}

void CoalescingOsdChannel::PostToOsd(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
    if (!Pending()) {
        inner_.PostToOsd(window, message, wParam, lParam);
        return;
    }
    const Post post{window, message, wParam, lParam};
    // The same notice twice in a row shows the same thing twice.
    if (posts_.empty() || !(posts_.back() == post))
        posts_.push_back(post);
    Schedule();
}

void CoalescingOsdChannel::Schedule() {
    if (scheduled_)
        return;
    scheduled_ = scheduleFlush_ && scheduleFlush_();
    if (!scheduled_)
        Flush();
}

void CoalescingOsdChannel::Flush() {
    scheduled_ = false;
    const std::vector<Write> writes = std::move(writes_);
    const std::vector<Post> posts = std::move(posts_);
    writes_.clear();
    posts_.clear();
    for (const Write& w : writes)
        inner_.WriteConfig(w.section.c_str(), w.key.c_str(), w.value.c_str());
    for (const Post& p : posts) inner_.PostToOsd(p.window, p.message, p.wParam, p.lParam);
}

}  // namespace runtime
