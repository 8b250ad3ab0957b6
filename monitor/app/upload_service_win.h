// Monitor's upload service: the upload thread, the worker that runs its jobs
// from a queue, the copy of the private block each job takes, and the answer
// Option waits for after an Apply (1256). The window only says what to upload
// and when the mouse went away; everything that reaches the mouse goes
// through here, on the upload thread.
#pragma once

#include <windows.h>

#include <functional>

#include "common/protocol.h"
#include "common/win/worker_thread_win.h"
#include "monitor/app/guarded_block.h"
#include "monitor/device/device_link_win.h"
#include "monitor/device/upload_worker.h"

namespace monitor {

class UploadService : private device::UploadJobHost {
  public:
    struct Ports {
        device::DeviceLink& link;
        GuardedBlock& block;
        // Upload thread: whether the mouse is connected (state 1).
        std::function<bool()> connected;
        // Upload thread: job 3 has told the mouse the profile; the notice is
        // the window thread's business, so this only posts.
        std::function<void(int profileIndex)> profileSelected;
        // Upload thread: a job is over (for the log).
        std::function<void(protocol::UploadJob, device::JobEnd, unsigned elapsedMs)> jobEnded;
    };

    explicit UploadService(Ports ports);
    ~UploadService() override;
    UploadService(const UploadService&) = delete;
    UploadService& operator=(const UploadService&) = delete;

    bool Start();
    // Queues a job and wakes the upload thread when it is idle. False when no
    // thread will run it (its Applies are answered all the same).
    bool Queue(protocol::UploadJob job);
    // An Apply that no job will carry (no mouse): answered at once.
    void AnswerApplyNow();
    // The mouse went away: the running job stops at its next wait.
    void AbortRunningJob();
    // The session ends: the running job stops at its next wait and nothing
    // more is sent, without waiting for the thread (Stop still ends it).
    void EndJobs();
    // Shut-down: the running job stops, the thread ends, queued jobs are
    // dropped (their Applies answered). Call before the link is closed.
    void Stop();

  private:
    enum class Who { Window, Thread };

    void OnThreadMessage(UINT message);
    void NotifyOptionUploadDone(Who who);

    // What an upload job needs (upload thread).
    bool Connected() override { return ports_.connected(); }
    void CopyBlock(settings::SettingsBlock& into) override { ports_.block.CopyTo(into); }
    void ApplyAnswered() override;
    void ProfileSelected(int profileIndex) override { ports_.profileSelected(profileIndex); }
    void JobStarted(protocol::UploadJob) override { jobStartedMs_ = GetTickCount64(); }
    void JobEnded(protocol::UploadJob job, device::JobEnd end) override;

    Ports ports_;
    ULONGLONG jobStartedMs_ = 0;
    device::UploadWorker worker_{static_cast<device::UploadJobHost&>(*this)};
    // Last: stopped (and joined) before the worker it runs goes.
    win::WorkerThread thread_;
};

}  // namespace monitor
