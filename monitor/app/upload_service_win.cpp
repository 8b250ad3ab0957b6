#include "monitor/app/upload_service_win.h"

#include "common/trace_points.h"
#include "common/win/program_folder_win.h"
#include "monitor/device/precise_pacer_win.h"
#include "monitor/device/upload_runner.h"

namespace monitor {

UploadService::UploadService(Ports ports) : ports_(std::move(ports)) {}

UploadService::~UploadService() {
    Stop();
}

bool UploadService::Start() {
    return thread_.Start([this](UINT message, WPARAM, LPARAM) { OnThreadMessage(message); });
}

bool UploadService::Queue(protocol::UploadJob job) {
    if (!worker_.Enqueue(job))
        return true;  // the upload thread is already on its way to the queue
    if (thread_.Post(protocol::kThreadUploadJob, static_cast<WPARAM>(job), 0))
        return true;
    // No upload thread (shut-down): nothing will run, but Applies are answered.
    worker_.DropQueued();
    return false;
}

void UploadService::AnswerApplyNow() {
    NotifyOptionUploadDone(Who::Window);
}

void UploadService::AbortRunningJob() {
    worker_.AbortRunningJob();
}

void UploadService::EndJobs() {
    worker_.BeginShutDown();
}

void UploadService::Stop() {
    // Jobs still queued behind the running one are dropped, not sent.
    worker_.BeginShutDown();
    thread_.Stop();
    worker_.DropQueued();
}

void UploadService::OnThreadMessage(UINT message) {
    if (message != protocol::kThreadUploadJob)
        return;
    device::LinkTransport transport(ports_.link);
    device::PrecisePacer pacer;
    worker_.RunQueued(transport, pacer);
}

void UploadService::ApplyAnswered() {
    // Also for an Apply dropped because the mouse went away or Monitor is
    // shutting down: an Option still open must not wait for ever. Posting
    // sends nothing to the mouse.
    NotifyOptionUploadDone(Who::Thread);
}

void UploadService::JobEnded(protocol::UploadJob job, device::JobEnd end) {
    if (ports_.jobEnded)
        ports_.jobEnded(job, end, static_cast<unsigned>(GetTickCount64() - jobStartedMs_));
}

void UploadService::NotifyOptionUploadDone(Who who) {
    if (HWND option = FindWindowA(nullptr, protocol::kOptionTitle)) {
        PostMessageA(option, protocol::kMsgUploadDone, 0, 0);
    } else {
        win::DebugText(trace::kUploadDoneNoOption);
    }
    win::DebugText(who == Who::Window ? trace::kUploadDoneByWindow : trace::kUploadDoneByThread);
}

}  // namespace monitor
