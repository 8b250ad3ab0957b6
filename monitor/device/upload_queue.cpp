#include "monitor/device/upload_queue.h"

#include <algorithm>

namespace device {

bool UploadQueue::Push(protocol::UploadJob job) {
    std::lock_guard<std::mutex> guard(lock_);
    const bool wasEmpty = jobs_.empty();
    QueuedUpload entry{job, job == protocol::UploadJob::ChangedOnly ? 1 : 0};
    switch (job) {
        case protocol::UploadJob::Full:
            for (const QueuedUpload& replaced : jobs_) entry.applies += replaced.applies;
            jobs_.clear();
            break;
        case protocol::UploadJob::SelectProfile:
            // Selections carry no Apply, so nothing is lost with them.
            jobs_.erase(std::remove_if(jobs_.begin(), jobs_.end(),
                                       [](const QueuedUpload& queued) {
                                           return queued.job == protocol::UploadJob::SelectProfile;
                                       }),
                        jobs_.end());
            break;
        case protocol::UploadJob::ChangedOnly:
            break;
    }
    jobs_.push_back(entry);
    return wasEmpty;
}

std::optional<QueuedUpload> UploadQueue::Pop() {
    std::lock_guard<std::mutex> guard(lock_);
    if (jobs_.empty())
        return std::nullopt;
    const QueuedUpload next = jobs_.front();
    jobs_.pop_front();
    return next;
}

std::size_t UploadQueue::Size() const {
    std::lock_guard<std::mutex> guard(lock_);
    return jobs_.size();
}

}  // namespace device
