#include "monitor/device/upload_worker.h"

namespace device {

UploadWorker::UploadWorker(UploadJobHost& host)
    : host_(host), copy_(std::make_unique<settings::SettingsBlock>()) {}

bool UploadWorker::StartJob() {
    if (ShuttingDown() || !host_.Connected())
        return false;
    busy_.store(1);
    abort_.store(0);
    // Removal and shut-down change their state before they raise the abort
    // flag. Seen here, they stop the job before it begins; not seen here,
    // their abort comes after the clearing above and stops the job at its
    // first wait.
    if (ShuttingDown() || !host_.Connected()) {
        busy_.store(0);
        return false;
    }
    return true;
}

bool UploadWorker::Enqueue(protocol::UploadJob job) {
    return queue_.Push(job);
}

void UploadWorker::RunQueued(Transport& transport, Pacer& pacer) {
    while (const std::optional<QueuedUpload> next = queue_.Pop()) RunJob(*next, transport, pacer);
}

void UploadWorker::DropQueued() {
    while (const std::optional<QueuedUpload> next = queue_.Pop()) Answer(next->applies);
}

void UploadWorker::Answer(int applies) {
    for (int i = 0; i < applies; ++i) host_.ApplyAnswered();
}

void UploadWorker::RunJob(const QueuedUpload& job, Transport& transport, Pacer& pacer) {
    host_.JobStarted(job.job);
    JobEnd end = JobEnd::Dropped;
    if (StartJob()) {
        host_.CopyBlock(*copy_);
        UploadHooks hooks;
        hooks.afterProfileSelected = [this](int profile) { host_.ProfileSelected(profile); };
        // The staging areas are some 10 KB: off the stack as well.
        auto sequence = std::make_unique<UploadSequence>(transport, pacer, abort_);
        end = sequence->Run(job.job, *copy_, hooks) ? JobEnd::Completed : JobEnd::Stopped;
        busy_.store(0);
    }
    host_.JobEnded(job.job, end);
    Answer(job.applies);
}

void UploadWorker::AbortRunningJob() {
    // Raised even between jobs: the next job clears it when it starts.
    abort_.store(1);
}

void UploadWorker::BeginShutDown() {
    shuttingDown_.store(1);
    abort_.store(1);
}

}  // namespace device
