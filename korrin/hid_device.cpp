#include "korrin/hid_device.h"

#include <algorithm>

#include "korrin/korrin_core.h"

namespace korrin {

namespace {

const char* RoleName(Role role) {
    return role == Role::Feature ? "feature" : "output";
}

}  // namespace

const char* OutcomeText(Outcome outcome) {
    switch (outcome) {
        case Outcome::Done:
            return "sent";
        case Outcome::Refused:
            return "refused";
        case Outcome::TimedOut:
            return "timed out, cancelled";
        case Outcome::Aborted:
            return "aborted, channel closed";
        case Outcome::Failed:
            return "failed";
        case Outcome::Stuck:
            return "timed out, cancellation did not end it";
    }
    return "?";
}

TransferResult RunTransfer(HidHandle& handle, TransferKind kind, std::vector<std::uint8_t> report,
                           std::uint32_t timeoutMs, std::uint32_t graceMs) {
    if (!handle.Begin(kind, std::move(report)))
        return {Outcome::Refused, 0};
    const WaitResult waited = handle.Wait(timeoutMs, true);
    Outcome outcome = Outcome::Done;
    if (waited != WaitResult::Done) {
        handle.Cancel();
        if (handle.Wait(graceMs, false) != WaitResult::Done)
            return {Outcome::Stuck, 0};
        outcome = waited == WaitResult::Aborted ? Outcome::Aborted : Outcome::TimedOut;
    }
    const auto moved = handle.Finish();
    if (outcome != Outcome::Done)
        return {outcome, 0};
    if (!moved)
        return {Outcome::Failed, 0};
    return {Outcome::Done, *moved};
}

Channel::Channel(std::unique_ptr<HidHandle> handle, ChannelChoice choice, CollectionInfo collection,
                 Role role)
    : handle_(std::move(handle)),
      choice_(std::move(choice)),
      collection_(std::move(collection)),
      role_(role) {}

int Channel::Send(std::span<const std::uint8_t> payload, const Timeouts& t, CaptureLog& log) {
    const char* what = role_ == Role::Feature ? "feature report" : "output report";
    auto frame = FrameReport(choice_.reportId, payload, choice_.reportLength);
    if (frame.empty()) {
        log.Report(what, payload, "does not fit the report length, not sent");
        return 0;
    }
    const std::vector<std::uint8_t> sent = frame;
    std::lock_guard<std::mutex> guard(transfer_);
    if (stuck_) {
        log.Report(what, sent, "channel unusable after a transfer that never ended");
        return 0;
    }
    const TransferKind kind =
        role_ == Role::Feature ? TransferKind::SetFeature : TransferKind::Output;
    TransferResult r = RunTransfer(*handle_, kind, std::move(frame), t.transferMs, t.cancelGraceMs);
    stuck_ = r.outcome == Outcome::Stuck;
    // A set-feature request moves no bytes back; a write must move all of them.
    const bool whole =
        r.outcome == Outcome::Done && (kind == TransferKind::SetFeature || r.moved == sent.size());
    log.Report(
        what, sent,
        whole || r.outcome != Outcome::Done ? OutcomeText(r.outcome) : "written only in part");
    return whole ? 1 : 0;
}

int Channel::Receive(TransferKind kind, std::span<std::uint8_t> out, std::uint32_t timeoutMs,
                     const Timeouts& t) {
    const ReportSpec& spec =
        kind == TransferKind::GetFeature ? collection_.feature : collection_.input;
    if (spec.length < 2 || out.empty())
        return 0;
    std::vector<std::uint8_t> buffer(spec.length, 0);
    buffer[0] = ReportIdFor(spec).id;
    std::lock_guard<std::mutex> guard(transfer_);
    if (stuck_)
        return 0;
    const TransferResult r =
        RunTransfer(*handle_, kind, std::move(buffer), timeoutMs, t.cancelGraceMs);
    stuck_ = r.outcome == Outcome::Stuck;
    if (r.outcome != Outcome::Done)
        return 0;
    const std::span<const std::uint8_t> got = handle_->Received();
    if (got.size() < 2)
        return 0;
    const std::size_t n = std::min(got.size() - 1, out.size());
    std::copy_n(got.begin() + 1, n, out.begin());
    return 1;
}

HidDevice::HidDevice(HidSystem& system, CaptureLog& log, Timeouts timeouts)
    : system_(system), log_(log), timeouts_(timeouts) {}

HidDevice::~HidDevice() {
    CloseFeature();
    CloseReport();
}

void HidDevice::SetIds(std::uint16_t vendorId, std::uint16_t productId) {
    std::lock_guard<std::mutex> guard(lock_);
    vendorId_ = vendorId;
    productId_ = productId;
}

std::vector<CollectionInfo> HidDevice::SurveyAndLog() {
    std::uint16_t vendorId, productId;
    {
        std::lock_guard<std::mutex> guard(lock_);
        vendorId = vendorId_;
        productId = productId_;
    }
    auto collections = Survey(system_, vendorId, productId);
    log_.Collections(collections);
    return collections;
}

std::shared_ptr<Channel> HidDevice::OpenRole(Role role,
                                             const std::vector<CollectionInfo>& collections) {
    const std::string name = std::string(RoleName(role)) + " channel: ";
    const auto candidates = RankCandidates(collections, role);
    if (candidates.empty()) {
        log_.Line(name + "no collection has " + RoleName(role) + " reports of " +
                  std::to_string((role == Role::Feature ? kCommandLength : kChunkLength) + 1) +
                  " bytes or more");
        return nullptr;
    }
    for (const ChannelChoice& c : candidates) {
        const std::string chosen = name + c.path + " report id " + std::to_string(c.reportId) +
                                   " length " + std::to_string(c.reportLength) + " (" + c.why + ")";
        if (auto handle = system_.Open(c.path, Access::ReadWrite)) {
            log_.Line(chosen + ", opened read/write");
            return std::make_shared<Channel>(std::move(handle), c, collections[c.index], role);
        }
        // Feature reports need no access rights; that is how they reach a
        // collection the system keeps open for itself. Output writes do.
        if (role == Role::Feature) {
            if (auto handle = system_.Open(c.path, Access::None)) {
                log_.Line(chosen + ", read/write refused, opened without access");
                return std::make_shared<Channel>(std::move(handle), c, collections[c.index], role);
            }
        }
        log_.Line(chosen + ", refused");
    }
    return nullptr;
}

bool HidDevice::OpenFeature() {
    CloseFeature();
    auto channel = OpenRole(Role::Feature, SurveyAndLog());
    std::lock_guard<std::mutex> guard(lock_);
    feature_ = channel;
    return feature_ != nullptr;
}

bool HidDevice::OpenReport() {
    CloseReport();
    auto channel = OpenRole(Role::Output, SurveyAndLog());
    std::lock_guard<std::mutex> guard(lock_);
    output_ = channel;
    return output_ != nullptr;
}

void HidDevice::CloseFeature() {
    std::shared_ptr<Channel> closing;
    {
        std::lock_guard<std::mutex> guard(lock_);
        closing.swap(feature_);
    }
    if (closing)
        closing->Abort();
}

void HidDevice::CloseReport() {
    std::shared_ptr<Channel> closing;
    {
        std::lock_guard<std::mutex> guard(lock_);
        closing.swap(output_);
    }
    if (closing)
        closing->Abort();
}

std::shared_ptr<Channel> HidDevice::Get(const std::shared_ptr<Channel>& which) {
    std::lock_guard<std::mutex> guard(lock_);
    return which;
}

int HidDevice::SetFeature(std::span<const std::uint8_t> payload) {
    auto channel = Get(feature_);
    return channel ? channel->Send(payload, timeouts_, log_) : 0;
}

int HidDevice::Write(std::span<const std::uint8_t> payload) {
    auto channel = Get(output_);
    return channel ? channel->Send(payload, timeouts_, log_) : 0;
}

int HidDevice::GetFeature(std::span<std::uint8_t> out) {
    auto channel = Get(feature_);
    return channel
               ? channel->Receive(TransferKind::GetFeature, out, timeouts_.transferMs, timeouts_)
               : 0;
}

int HidDevice::Read(std::span<std::uint8_t> out) {
    auto channel = Get(output_);
    return channel ? channel->Receive(TransferKind::Input, out, timeouts_.readMs, timeouts_) : 0;
}

bool HidDevice::Usable(std::vector<CollectionInfo>* collections) {
    auto found = SurveyAndLog();
    std::string probe = "device not usable: no output channel";
    bool usable = false;
    for (const ChannelChoice& c : RankCandidates(found, Role::Output)) {
        if (system_.Open(c.path, Access::ReadWrite)) {
            probe = "device usable: output channel " + c.path + " opens";
            usable = true;
            break;
        }
        probe = "device not usable: output channel " + c.path + " refuses read/write";
    }
    bool changed;
    {
        std::lock_guard<std::mutex> guard(lock_);
        changed = probe != lastProbe_;
        lastProbe_ = probe;
    }
    if (changed)
        log_.Line(probe);
    if (collections != nullptr)
        *collections = std::move(found);
    return usable;
}

}  // namespace korrin
