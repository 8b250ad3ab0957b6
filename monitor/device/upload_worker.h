// The upload jobs and the upload thread's handling of them: jobs wait in a
// queue that drops those a later job makes pointless; each runs on a copy of
// Monitor's block taken when it starts, one at a time, and stops when the
// mouse is removed. Once shut-down has begun no job sends anything more: the
// running one stops at its next wait and every job still queued is dropped.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "common/protocol.h"
#include "common/settings/settings_block.h"
#include "monitor/device/upload_queue.h"
#include "monitor/device/upload_sequence.h"

namespace device {

// How a job ended: ran to its end, stopped by removal or shut-down, or never
// started (no mouse, or shut-down under way).
enum class JobEnd { Completed, Stopped, Dropped };

// What a job needs of Monitor's window. Called on the upload thread.
class UploadJobHost {
  public:
    virtual ~UploadJobHost() = default;
    // Connection state 1.
    virtual bool Connected() = 0;
    // Copies Monitor's private block under the lock the window thread
    // changes it under.
    virtual void CopyBlock(settings::SettingsBlock& into) = 0;
    // An Apply's job is over, whether it ran, stopped or was dropped: Option
    // waits for exactly this answer to enable its buttons again.
    virtual void ApplyAnswered() = 0;
    // Job 3: the mouse has had the selection of `profileIndex` and its pause.
    virtual void ProfileSelected(int profileIndex) = 0;
    // Around each job taken from the queue, for the log; nothing by default.
    virtual void JobStarted(protocol::UploadJob) {}
    virtual void JobEnded(protocol::UploadJob, JobEnd) {}
};

class UploadWorker {
  public:
    explicit UploadWorker(UploadJobHost& host);

    // Any thread: queues `job`. True when the upload thread must be woken to
    // run the queue (RunQueued); a wake-up already under way covers the rest.
    bool Enqueue(protocol::UploadJob job);
    // Upload thread, on a wake-up: runs queued jobs until none is left.
    void RunQueued(Transport& transport, Pacer& pacer);
    // The wake-up could not be delivered (the thread is gone): the queued
    // jobs are dropped, their Applies answered.
    void DropQueued();
    std::size_t Queued() const { return queue_.Size(); }

    // Upload thread: one job, answering `applies` Applies when it is over.
    // Transport and pacer are the job's own.
    void RunJob(const QueuedUpload& job, Transport& transport, Pacer& pacer);
    void RunJob(protocol::UploadJob job, Transport& transport, Pacer& pacer) {
        RunJob(QueuedUpload{job, job == protocol::UploadJob::ChangedOnly ? 1 : 0}, transport,
               pacer);
    }

    // Window thread, after the connection state left 1. The job now running
    // stops at its next wait; the next job starts normally.
    void AbortRunningJob();
    // Window thread, shut-down: the running job stops and no later job sends
    // anything. Irreversible.
    void BeginShutDown();

    bool Busy() const { return busy_.load() != 0; }
    bool ShuttingDown() const { return shuttingDown_.load() != 0; }

  private:
    // Marks the job as running with a clear abort flag; false (and nothing
    // marked) when the job must be dropped.
    bool StartJob();

    void Answer(int applies);

    UploadJobHost& host_;
    UploadQueue queue_;
    std::atomic<std::int32_t> busy_{0};
    std::atomic<std::int32_t> abort_{0};
    std::atomic<std::int32_t> shuttingDown_{0};
    // Some 42 KB: never on the upload thread's small stack.
    std::unique_ptr<settings::SettingsBlock> copy_;
};

}  // namespace device
