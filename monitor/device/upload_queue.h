// Upload jobs waiting for the upload thread. A burst of device events (a
// profile button pressed again and again) asks for many jobs in a short time,
// and each one costs the mouse a command and a pause; the queue keeps only the
// jobs whose work is still to be done, so neither an Apply nor shut-down waits
// behind a backlog:
// - a profile selection replaces every selection still queued (each job
//   selects the profile current when it starts, so only the last one matters);
// - a full upload replaces everything still queued (it sends all that the
//   others would, from the block current when it starts).
// An Apply replaced this way is answered after the job that replaced it, which
// is the upload that carries its block.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

#include "common/protocol.h"

namespace device {

struct QueuedUpload {
    protocol::UploadJob job = protocol::UploadJob::Full;
    // Applies answered once this job has run (or was dropped).
    int applies = 0;
};

class UploadQueue {
  public:
    // Any thread. True when the queue was empty: the upload thread must be
    // woken (otherwise a wake-up is already on its way or it is draining).
    bool Push(protocol::UploadJob job);
    // Upload thread: the oldest job, or nothing.
    std::optional<QueuedUpload> Pop();
    std::size_t Size() const;

  private:
    mutable std::mutex lock_;
    std::deque<QueuedUpload> jobs_;
};

}  // namespace device
