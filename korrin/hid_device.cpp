#include "korrin/hid_device.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "korrin/device_report.h"
#include "korrin/korrin_core.h"

namespace korrin {

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
        return {Outcome::Refused, 0, handle.Error()};
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
        return {Outcome::Failed, 0, handle.Error()};
    return {Outcome::Done, *moved, 0};
}

namespace {

bool SamePath(const std::string& a, const std::string& b) {
    return !a.empty() && a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string WithError(const char* text, std::uint32_t error) {
    return error == 0 ? std::string(text)
                      : std::string(text) + " (system error " + std::to_string(error) + ")";
}

}  // namespace

Channel::Channel(HidSystem& system, CaptureLog& log, ChoiceStore& store, DeviceIds ids, Role role,
                 std::vector<ChannelChoice> candidates, std::vector<CollectionInfo> collections,
                 std::optional<RememberedChoice> remembered)
    : system_(system),
      log_(log),
      store_(store),
      ids_(ids),
      role_(role),
      candidates_(std::move(candidates)),
      collections_(std::move(collections)),
      remembered_(std::move(remembered)),
      failed_(candidates_.size(), false) {}

std::string Channel::Status() {
    std::lock_guard<std::mutex> guard(statusLock_);
    return status_;
}

void Channel::UpdateStatus() {
    const ChannelChoice& c = candidates_[current_];
    std::string status = std::string(RoleName(role_)) + " channel: " + c.path + " as " +
                         KindName(kind_) + ", report id " + std::to_string(c.reportId) +
                         ", buffer " + std::to_string(c.bufferLength) + " (" + c.why +
                         "), opened " + access_ + (confirmed_ ? ", a send has worked" : "");
    std::lock_guard<std::mutex> guard(statusLock_);
    status_ = std::move(status);
}

bool Channel::OpenCandidate(std::size_t i) {
    const ChannelChoice& c = candidates_[i];
    const std::string name = std::string(RoleName(role_)) + " channel: candidate " +
                             std::to_string(i + 1) + " of " + std::to_string(candidates_.size()) +
                             " " + c.path + " (" + c.why + ")";
    OpenResult opened = system_.Open(c.path, Access::ReadWrite);
    TransferKind kind = c.kind;
    std::string access = "read/write";
    // Why read/write was refused tells whose the collection is.
    std::string refusal;
    if (!opened) {
        refusal = "; " + WithError("read/write refused", opened.error);
        // Feature reports and output reports sent as control requests need no
        // access rights; that is how they reach a collection the system (or
        // another program) holds. Writes to the interrupt pipe do.
        opened = system_.Open(c.path, Access::None);
        access = "without access";
        if (kind == TransferKind::Output)
            kind = TransferKind::SetOutput;
    }
    if (!opened) {
        log_.Line(name + ", " + WithError("refused", opened.error) + refusal);
        failed_[i] = true;
        return false;
    }
    log_.Line(name + ", opened " + access + ", sent as " + KindName(kind) + refusal);
    // Asked for before the handle is ours: a removal must never wait for it.
    auto notice = system_.WatchRemoval(*opened.handle, c.path);
    std::lock_guard<std::mutex> guard(handleLock_);
    if (closed_)
        return false;
    handle_ = std::move(opened.handle);
    notice_ = std::move(notice);
    path_ = c.path;
    current_ = i;
    kind_ = kind;
    access_ = access;
    UpdateStatus();
    return true;
}

bool Channel::Open() {
    std::lock_guard<std::mutex> guard(transfer_);
    if (candidates_.empty()) {
        log_.Line(std::string(RoleName(role_)) + " channel: no collection has a report of " +
                  std::to_string((role_ == Role::Command ? kCommandLength : kChunkLength) + 1) +
                  " bytes or more");
        return false;
    }
    // Every candidate in the order they will be tried, with why it ranks there.
    for (std::size_t i = 0; i < candidates_.size(); ++i)
        log_.Line(std::string(RoleName(role_)) + " channel: candidate " + std::to_string(i + 1) +
                  " of " + std::to_string(candidates_.size()) + " " + candidates_[i].path + " (" +
                  candidates_[i].why + ")");
    for (std::size_t i = 0; i < candidates_.size(); ++i)
        if (OpenCandidate(i))
            return true;
    return false;
}

bool Channel::OpenNext() {
    for (std::size_t i = 0; i < candidates_.size(); ++i) {
        if (i == current_ || failed_[i])
            continue;
        if (OpenCandidate(i))
            return true;
    }
    return false;
}

void Channel::RememberWorking() {
    if (confirmed_)
        return;
    confirmed_ = true;
    UpdateStatus();
    const ChannelChoice& c = candidates_[current_];
    const RememberedChoice working{c.path, c.kind, c.reportId};
    if (remembered_ == working)
        return;
    store_.Save(ids_.vendorId, ids_.productId, role_, working);
    remembered_ = working;
    log_.Line(std::string(RoleName(role_)) + " channel: " + c.path + " report id " +
              std::to_string(c.reportId) + " worked, remembered for this device");
}

bool Channel::ReopenCurrent() {
    log_.Line(std::string(RoleName(role_)) + " channel: " + candidates_[current_].path +
              " opened again, its device object went away");
    return OpenCandidate(current_);
}

int Channel::Send(std::span<const std::uint8_t> payload, const Timeouts& t, bool* replugged) {
    std::lock_guard<std::mutex> guard(transfer_);
    if (!handle_)
        return 0;
    bool reopened = false;
    for (;;) {
        const ChannelChoice& c = candidates_[current_];
        const char* what = KindName(kind_);
        if (payload.size() + 1 > c.declaredLength) {
            log_.Sent(role_, what, payload, payload, "does not fit the report, not sent");
            return 0;
        }
        auto frame = FrameReport(c.reportId, payload, c.bufferLength);
        const std::vector<std::uint8_t> sent = frame;
        if (stuck_) {
            log_.Sent(role_, what, payload, sent,
                      "channel unusable after a transfer that never ended");
            return 0;
        }
        const std::uint64_t began = system_.NowMs();
        TransferResult r =
            RunTransfer(*handle_, kind_, std::move(frame), t.transferMs, t.cancelGraceMs);
        const std::string took = ", report id " + std::to_string(c.reportId) + ", " +
                                 std::to_string(system_.NowMs() - began) + " ms";
        stuck_ = r.outcome == Outcome::Stuck;
        // A control request moves no bytes back; a write must move all of them.
        const bool whole =
            r.outcome == Outcome::Done && (kind_ != TransferKind::Output || r.moved == sent.size());
        log_.Sent(role_, what, payload, sent,
                  (whole || r.outcome != Outcome::Done ? WithError(OutcomeText(r.outcome), r.error)
                                                       : std::string("written only in part")) +
                      took);
        if (whole) {
            RememberWorking();
            // Only a send that failed on the old handle and went through on a
            // fresh one proves a re-enumeration: a firmware that refuses a
            // report fails the same way, and telling that as a replug would
            // start a full upload for every refused report.
            if (reopened && replugged != nullptr)
                *replugged = true;
            return 1;
        }
        // A close, or a handle that cannot be used again, is no reason to
        // look elsewhere.
        if (r.outcome == Outcome::Aborted || stuck_)
            return 0;
        const bool failed = r.outcome == Outcome::Failed || r.outcome == Outcome::Refused;
        if (failed && IsDeviceGone(r.error) && !reopened) {
            reopened = true;
            if (ReopenCurrent())
                continue;
        }
        failed_[current_] = true;
        if (confirmed_ || !OpenNext()) {
            if (!confirmed_)
                log_.Line(std::string(RoleName(role_)) + " channel: no further candidate");
            return 0;
        }
    }
}

int Channel::Receive(TransferKind kind, std::span<std::uint8_t> out, std::uint32_t timeoutMs,
                     const Timeouts& t) {
    std::lock_guard<std::mutex> guard(transfer_);
    if (!handle_ || stuck_ || out.empty())
        return 0;
    const CollectionInfo& collection = collections_[candidates_[current_].index];
    const ReportSpec& spec =
        kind == TransferKind::GetFeature ? collection.feature : collection.input;
    if (spec.length < 2)
        return 0;
    std::vector<std::uint8_t> buffer(spec.length, 0);
    buffer[0] = spec.reports.empty() ? 0 : spec.reports.front().id;
    const TransferResult r =
        RunTransfer(*handle_, kind, std::move(buffer), timeoutMs, t.cancelGraceMs);
    stuck_ = r.outcome == Outcome::Stuck;
    const std::span<const std::uint8_t> got =
        r.outcome == Outcome::Done ? handle_->Received() : std::span<const std::uint8_t>();
    // A read-back shows what the device holds: worth having in a report.
    log_.Line(std::string(KindName(kind)) + " back on " + path_ + " [" +
              std::to_string(got.size()) + "] " + Hex(got) + " : " +
              (r.outcome == Outcome::Done ? std::string("read")
                                          : WithError(OutcomeText(r.outcome), r.error)));
    if (r.outcome != Outcome::Done)
        return 0;
    if (got.size() < 2)
        return 0;
    const std::size_t n = std::min(got.size() - 1, out.size());
    std::copy_n(got.begin() + 1, n, out.begin());
    return 1;
}

void Channel::Abort() {
    std::lock_guard<std::mutex> guard(handleLock_);
    closed_ = true;
    if (handle_)
        handle_->Abort();
}

std::string Channel::Path() {
    std::lock_guard<std::mutex> guard(handleLock_);
    return handle_ || notice_ ? path_ : std::string();
}

bool Channel::Refresh() {
    std::lock_guard<std::mutex> guard(transfer_);
    if (!handle_)
        return false;
    stuck_ = false;
    return ReopenCurrent();
}

void Channel::Release() {
    {
        std::lock_guard<std::mutex> guard(handleLock_);
        if (handle_)
            handle_->Abort();
    }
    std::lock_guard<std::mutex> guard(transfer_);
    std::unique_ptr<HidHandle> closing;
    {
        std::lock_guard<std::mutex> handleGuard(handleLock_);
        closing = std::move(handle_);
    }
    if (!closing)
        return;
    closing.reset();
    released_ = true;
    log_.Line(std::string(RoleName(role_)) + " channel: " + path_ +
              " closed, the system asks to remove the device");
}

bool Channel::Restore() {
    std::lock_guard<std::mutex> guard(transfer_);
    if (!released_)
        return false;
    released_ = false;
    stuck_ = false;
    log_.Line(std::string(RoleName(role_)) + " channel: " + path_ +
              " opened again, the removal was cancelled");
    return OpenCandidate(current_);
}

void Channel::Drop() {
    {
        std::lock_guard<std::mutex> guard(handleLock_);
        if (handle_)
            handle_->Abort();
    }
    std::lock_guard<std::mutex> guard(transfer_);
    released_ = false;
    std::unique_ptr<HidHandle> closing;
    std::unique_ptr<RemovalNotice> notice;
    std::lock_guard<std::mutex> handleGuard(handleLock_);
    closing = std::move(handle_);
    notice = std::move(notice_);
}

HidDevice::HidDevice(HidSystem& system, CaptureLog& log, ChoiceStore& store, Timeouts timeouts,
                     DescriptionLoad description)
    : system_(system),
      log_(log),
      store_(store),
      timeouts_(timeouts),
      description_(std::move(description)) {}

const ChannelPreference& HidDevice::Preference(Role role) const {
    return role == Role::Command ? description_.description.command
                                 : description_.description.chunk;
}

HidDevice::~HidDevice() {
    CloseFeature();
    CloseReport();
}

void HidDevice::SetIds(std::uint16_t vendorId, std::uint16_t productId) {
    std::lock_guard<std::mutex> guard(lock_);
    ids_ = {vendorId, productId};
}

void HidDevice::SetReplugHandler(std::function<void()> handler) {
    std::lock_guard<std::mutex> guard(lock_);
    onReplug_ = std::move(handler);
}

DeviceIds HidDevice::Ids() {
    std::lock_guard<std::mutex> guard(lock_);
    return ids_;
}

std::vector<CollectionInfo> HidDevice::SurveyAndLog() {
    const DeviceIds ids = Ids();
    auto collections = Survey(system_, ids.vendorId, ids.productId);
    log_.Collections(collections);
    return collections;
}

std::shared_ptr<Channel> HidDevice::OpenRole(Role role,
                                             const std::vector<CollectionInfo>& collections) {
    const DeviceIds ids = Ids();
    auto remembered = store_.Load(ids.vendorId, ids.productId, role);
    auto candidates = RankCandidates(collections, role, remembered, Preference(role));
    auto channel = std::make_shared<Channel>(system_, log_, store_, ids, role,
                                             std::move(candidates), collections, remembered);
    if (!channel->Open())
        return nullptr;
    return channel;
}

std::vector<CollectionInfo> HidDevice::MouseOf(const std::vector<CollectionInfo>& all) {
    std::string preferred;
    {
        std::lock_guard<std::mutex> guard(lock_);
        preferred = mouse_;
    }
    DeviceGroup mouse = SelectMouse(all, preferred);
    if (!mouse.key.empty() && mouse.key != preferred) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            mouse_ = mouse.key;
        }
        log_.Line("mouse in use: device " + mouse.key);
    }
    return std::move(mouse.collections);
}

bool HidDevice::OpenFeature() {
    CloseFeature();
    auto channel = OpenRole(Role::Command, MouseOf(SurveyAndLog()));
    std::lock_guard<std::mutex> guard(lock_);
    feature_ = channel;
    return feature_ != nullptr;
}

bool HidDevice::OpenReport() {
    CloseReport();
    auto channel = OpenRole(Role::Chunk, MouseOf(SurveyAndLog()));
    {
        std::lock_guard<std::mutex> guard(lock_);
        output_ = channel;
    }
    if (channel)
        return true;
    // Without a way for chunks the commands still reach the mouse.
    return Probe();
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

std::vector<std::shared_ptr<Channel>> HidDevice::OpenChannels() {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<std::shared_ptr<Channel>> open;
    for (const auto& channel : {feature_, output_})
        if (channel)
            open.push_back(channel);
    return open;
}

int HidDevice::SendOn(std::shared_ptr<Channel> channel, std::span<const std::uint8_t> payload) {
    if (!channel)
        return 0;
    bool replugged = false;
    const int sent = channel->Send(payload, timeouts_, &replugged);
    if (!replugged)
        return sent;
    // The whole device was enumerated anew: every handle of it is stale, and
    // the client is told once, not once per channel.
    for (const auto& other : OpenChannels())
        if (other != channel)
            other->Refresh();
    std::function<void()> tell;
    {
        std::lock_guard<std::mutex> guard(lock_);
        tell = onReplug_;
    }
    log_.Line("device enumerated anew under the same path: told to the client as a replug");
    if (tell)
        tell();
    return sent;
}

int HidDevice::SetFeature(std::span<const std::uint8_t> payload) {
    std::shared_ptr<Channel> channel;
    {
        std::lock_guard<std::mutex> guard(lock_);
        channel = feature_;
    }
    return SendOn(std::move(channel), payload);
}

int HidDevice::Write(std::span<const std::uint8_t> payload) {
    std::shared_ptr<Channel> channel;
    {
        std::lock_guard<std::mutex> guard(lock_);
        channel = output_;
    }
    return SendOn(std::move(channel), payload);
}

bool HidDevice::OwnsPath(const std::string& path) {
    for (const auto& channel : OpenChannels())
        if (SamePath(channel->Path(), path))
            return true;
    return false;
}

bool HidDevice::QueryRemove(const std::string& path) {
    bool ours = false;
    for (const auto& channel : OpenChannels())
        if (SamePath(channel->Path(), path)) {
            channel->Release();
            ours = true;
        }
    return ours;
}

bool HidDevice::RemoveCancelled(const std::string& path) {
    bool ours = false;
    for (const auto& channel : OpenChannels())
        if (SamePath(channel->Path(), path)) {
            channel->Restore();
            ours = true;
        }
    return ours;
}

bool HidDevice::RemoveComplete(const std::string& path) {
    bool ours = false;
    for (const auto& channel : OpenChannels())
        if (SamePath(channel->Path(), path)) {
            channel->Drop();
            ours = true;
        }
    return ours;
}

int HidDevice::GetFeature(std::span<std::uint8_t> out) {
    std::shared_ptr<Channel> channel;
    {
        std::lock_guard<std::mutex> guard(lock_);
        channel = feature_;
    }
    return channel
               ? channel->Receive(TransferKind::GetFeature, out, timeouts_.transferMs, timeouts_)
               : 0;
}

int HidDevice::Read(std::span<std::uint8_t> out) {
    std::shared_ptr<Channel> channel;
    {
        std::lock_guard<std::mutex> guard(lock_);
        channel = output_;
    }
    return channel ? channel->Receive(TransferKind::Input, out, timeouts_.readMs, timeouts_) : 0;
}

void HidDevice::LogProbe(const std::string& probe) {
    bool changed;
    {
        std::lock_guard<std::mutex> guard(lock_);
        changed = probe != lastProbe_;
        lastProbe_ = probe;
    }
    if (changed)
        log_.Line(probe);
}

bool HidDevice::Probe(std::vector<CollectionInfo>* collections) {
    auto all = SurveyAndLog();
    std::string preferred;
    {
        std::lock_guard<std::mutex> guard(lock_);
        preferred = mouse_;
    }
    DeviceGroup mouse = SelectMouse(all, preferred);
    std::string probe = "device not usable: no command channel";
    bool usable = false;
    for (const ChannelChoice& c :
         RankCandidates(mouse.collections, Role::Command, {}, Preference(Role::Command))) {
        if (system_.Open(c.path, Access::ReadWrite) || system_.Open(c.path, Access::None)) {
            probe = "device usable: command channel " + c.path + " opens";
            usable = true;
            break;
        }
        probe = "device not usable: command channel " + c.path + " refuses every access";
    }
    LogProbe(probe);
    if (usable && mouse.key != preferred) {
        std::lock_guard<std::mutex> guard(lock_);
        mouse_ = mouse.key;
    }
    if (collections != nullptr)
        *collections = std::move(mouse.collections);
    return usable;
}

bool HidDevice::Listed(std::vector<CollectionInfo>* collections) {
    auto all = SurveyAndLog();
    std::string mouse;
    {
        std::lock_guard<std::mutex> guard(lock_);
        mouse = mouse_;
    }
    // The mouse in use, and no other: another of the same kind listed in its
    // place is no sign that this one is still there.
    std::vector<CollectionInfo> found;
    if (mouse.empty()) {
        found = SelectMouse(all, mouse).collections;
    } else {
        for (DeviceGroup& g : GroupByDevice(all))
            if (g.key == mouse)
                found = std::move(g.collections);
    }
    const bool listed = !RankCandidates(found, Role::Command).empty();
    if (!listed)
        LogProbe("device not listed with a command channel");
    if (collections != nullptr)
        *collections = std::move(found);
    return listed;
}

std::string HidDevice::Report() {
    // What the channels choose among.
    const auto found = Survey(system_, Ids().vendorId, Ids().productId);
    std::shared_ptr<Channel> feature, output;
    DeviceIds ids;
    std::string mouse;
    {
        std::lock_guard<std::mutex> guard(lock_);
        feature = feature_;
        output = output_;
        ids = ids_;
        mouse = mouse_;
    }
    // A description file that was not taken is worth saying even with no
    // device to show.
    const std::string description = DescriptionLine(description_) + "\r\n";
    // Every collection of the device, keyboards and digitizers too: what a
    // user's report must show to rebuild the layout. Their caps only.
    const auto every = DescribeEvery(system_, ids.vendorId, ids.productId);
    if (every.empty() && !feature && !output)
        return description_.problem.empty() ? std::string() : description;
    char head[64];
    std::snprintf(head, sizeof head, "HID device vid %04X pid %04X", ids.vendorId, ids.productId);
    std::string text = std::string(head) + "\r\n" + description;
    if (every.empty())
        text += "no interface of the device present\r\n";
    if (mouse.empty() && !found.empty())
        mouse = SelectMouse(found, mouse).key;
    for (const DeviceGroup& group : GroupByDevice(every)) {
        text += "device " + group.key +
                (group.key == mouse ? ": the mouse in use\r\n"
                                    : ": another mouse of the same kind, ignored\r\n");
        for (const CollectionInfo& c : group.collections) text += InterfaceText(c);
    }
    for (Role role : {Role::Command, Role::Chunk}) {
        const auto& channel = role == Role::Command ? feature : output;
        text += channel ? channel->Status() : std::string(RoleName(role)) + " channel: not open";
        text += "\r\n";
        const auto ranked =
            RankCandidates(SelectMouse(found, mouse).collections, role,
                           store_.Load(ids.vendorId, ids.productId, role), Preference(role));
        for (std::size_t i = 0; i < ranked.size(); ++i)
            text += "  candidate " + std::to_string(i + 1) + ": " + ranked[i].path + " (" +
                    ranked[i].why + ")\r\n";
        const auto remembered = store_.Load(ids.vendorId, ids.productId, role);
        text += std::string("  remembered: ") +
                (remembered ? remembered->path + " " + KindName(remembered->kind) + " report id " +
                                  std::to_string(remembered->reportId)
                            : std::string("nothing")) +
                " (" + store_.Where() + ")\r\n";
    }
    // The opens and sends of late, with their errors and times.
    text += std::string(kRecentHeading) + "\r\n";
    for (const std::string& line : log_.Recent()) text += "  | " + line + "\r\n";
    return text;
}

}  // namespace korrin
