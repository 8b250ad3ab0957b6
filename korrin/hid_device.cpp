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

bool IsRefusal(std::uint32_t error) {
    // Win32 codes: ERROR_INVALID_FUNCTION, ERROR_ACCESS_DENIED,
    // ERROR_SHARING_VIOLATION, ERROR_NOT_SUPPORTED, ERROR_INVALID_PARAMETER,
    // ERROR_INVALID_USER_BUFFER.
    constexpr std::uint32_t kRefusals[] = {1, 5, 32, 50, 87, 1784};
    return std::find(std::begin(kRefusals), std::end(kRefusals), error) != std::end(kRefusals);
}

namespace {

template <typename Record>
void KeepLast(std::vector<Record>& records, Record record) {
    if (records.size() >= TransferHistory::kMaxRecords)
        records.erase(records.begin());
    records.push_back(std::move(record));
}

}  // namespace

void TransferHistory::Add(OpenRecord record) {
    std::lock_guard<std::mutex> guard(lock_);
    KeepLast(opens_, std::move(record));
}

void TransferHistory::Add(SendRecord record) {
    std::lock_guard<std::mutex> guard(lock_);
    KeepLast(sends_, std::move(record));
}

std::vector<OpenRecord> TransferHistory::Opens() const {
    std::lock_guard<std::mutex> guard(lock_);
    return opens_;
}

std::vector<SendRecord> TransferHistory::Sends() const {
    std::lock_guard<std::mutex> guard(lock_);
    return sends_;
}

std::vector<std::string> TransferHistory::Lines() const {
    std::lock_guard<std::mutex> guard(lock_);
    // Opens and sends in the order they began (an open before a send begun
    // at the same millisecond: a send needs its handle).
    std::vector<std::pair<std::uint64_t, std::string>> lines;
    for (const OpenRecord& r : opens_)
        lines.push_back({r.atMs, std::string(RoleName(r.role)) + " channel " + r.path + ": " +
                                     OpenRecordText(r)});
    for (const SendRecord& r : sends_)
        lines.push_back({r.atMs, std::string(RoleName(r.role)) + " channel " + r.path + ": " +
                                     SendRecordText(r)});
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (auto& [at, line] : lines) out.push_back(std::move(line));
    return out;
}

const char* AccessName(Access access) {
    // In the order of the enumeration.
    static constexpr const char* kNames[] = {"read/write", "read only", "without access"};
    return kNames[static_cast<std::size_t>(access)];
}

std::string OpenRecordText(const OpenRecord& r) {
    return (r.opened ? std::string("opened ") + AccessName(r.access)
                     : std::string(AccessName(r.access)) + " refused" +
                           (r.error != 0 ? " (system error " + std::to_string(r.error) + ")"
                                         : std::string())) +
           " in " + std::to_string(r.elapsedMs) + " ms";
}

std::string SendRecordText(const SendRecord& r) {
    return std::string(KindName(r.kind)) + " id " + std::to_string(r.reportId) + " [" +
           std::to_string(r.length) + "]: " + OutcomeText(r.outcome) +
           (r.error != 0 ? " (system error " + std::to_string(r.error) + ")" : std::string()) +
           ", " + std::to_string(r.elapsedMs) + " ms";
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

// Does `act` to each of `channels` on `path`; true when there was one.
template <class Act>
bool ForChannelsOn(const std::vector<std::shared_ptr<Channel>>& channels, const std::string& path,
                   Act act) {
    bool ours = false;
    for (const auto& channel : channels) {
        if (SamePath(channel->Path(), path)) {
            act(*channel);
            ours = true;
        }
    }
    return ours;
}

}  // namespace

Channel::Channel(HidSystem& system, CaptureLog& log, ChoiceStore& store, TransferHistory& history,
                 DeviceIds ids, Role role, std::vector<ChannelChoice> candidates,
                 std::vector<CollectionInfo> collections,
                 std::optional<RememberedChoice> remembered, std::optional<std::uint8_t> readBackId)
    : system_(system),
      log_(log),
      store_(store),
      history_(history),
      ids_(ids),
      role_(role),
      candidates_(std::move(candidates)),
      collections_(std::move(collections)),
      remembered_(std::move(remembered)),
      readBackId_(readBackId),
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
                         "), opened " + access_ +
                         (confirmed_ ? ", confirmed by the device"
                          : worked_  ? ", a send has worked, not yet confirmed"
                                     : "");
    std::lock_guard<std::mutex> guard(statusLock_);
    status_ = std::move(status);
}

bool Channel::OpenCandidate(std::size_t i) {
    const ChannelChoice& c = candidates_[i];
    const std::string name = std::string(RoleName(role_)) + " channel: candidate " +
                             std::to_string(i + 1) + " of " + std::to_string(candidates_.size()) +
                             " " + c.path + " (" + c.why + ")";
    // Every open asked for, as the history keeps it: "; " between them.
    std::string tried;
    auto open = [&](Access access) {
        const std::uint64_t start = system_.NowMs();
        OpenResult result = system_.Open(c.path, access);
        const OpenRecord record{role_,
                                c.path,
                                access,
                                static_cast<bool>(result),
                                result.error,
                                start,
                                system_.NowMs() - start};
        history_.Add(record);
        tried += (tried.empty() ? "" : "; ") + OpenRecordText(record);
        return result;
    };
    TransferKind kind = c.kind;
    std::string access = AccessName(Access::ReadWrite);
    // A keyboard is never opened with a right that could read a keystroke.
    // Why read/write was refused elsewhere tells whose the collection is.
    OpenResult opened = c.keyboard ? OpenResult{} : open(Access::ReadWrite);
    if (!opened) {
        // Feature reports and output reports sent as control requests need no
        // access rights; that is how they reach a collection the system (or
        // another program) holds. Writes to the interrupt pipe do.
        opened = open(Access::None);
        access = AccessName(Access::None);
        if (kind == TransferKind::Output)
            kind = TransferKind::SetOutput;
    }
    if (!opened) {
        log_.Transfer(name + ", " + tried);
        failed_[i] = true;
        return false;
    }
    log_.Transfer(name + ", " + tried + ", sent as " + KindName(kind));
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
    // An event that came while another candidate was tried says nothing of
    // this one.
    eventDuringSend_ = false;
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

void Channel::ConfirmLocked(const char* how) {
    if (!worked_ || confirmed_)
        return;
    confirmed_ = true;
    UpdateStatus();
    const ChannelChoice& c = candidates_[current_];
    const RememberedChoice confirmed = RememberedFor(collections_[c.index], c);
    log_.Line(std::string(RoleName(role_)) + " channel: " + c.path + " report id " +
              std::to_string(c.reportId) + " confirmed by " + how);
    if (remembered_ == confirmed)
        return;
    store_.Save(ids_.vendorId, ids_.productId, role_, confirmed);
    remembered_ = confirmed;
    log_.Line(std::string(RoleName(role_)) +
              " channel: remembered for this device: " + RememberedText(confirmed));
}

void Channel::Confirm(const char* how) {
    // The watch thread never waits behind a send: an event that comes while
    // one is under way is applied when it ends.
    std::unique_lock<std::mutex> guard(transfer_, std::try_to_lock);
    if (!guard) {
        eventDuringSend_ = true;
        return;
    }
    ConfirmLocked(how);
}

void Channel::ReadBack(const Timeouts& t) {
    const CollectionInfo& collection = collections_[candidates_[current_].index];
    const auto& ids = collection.feature.reports;
    if (!readBackId_ || collection.feature.length < 2 ||
        std::none_of(ids.begin(), ids.end(),
                     [&](const ReportLength& r) { return r.id == *readBackId_; }))
        return;
    std::vector<std::uint8_t> buffer(collection.feature.length, 0);
    buffer[0] = *readBackId_;
    const TransferResult r = RunTransfer(*handle_, TransferKind::GetFeature, std::move(buffer),
                                         t.transferMs, t.cancelGraceMs);
    stuck_ = r.outcome == Outcome::Stuck;
    log_.Line(std::string(RoleName(role_)) + " channel: read-back of feature report id " +
              std::to_string(*readBackId_) + ": " + WithError(OutcomeText(r.outcome), r.error));
    if (r.outcome == Outcome::Done)
        ConfirmLocked("a read-back of its settings");
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
        if (payload.size() + 1 > c.bufferLength) {
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
        const std::uint64_t start = system_.NowMs();
        TransferResult r =
            RunTransfer(*handle_, kind_, std::move(frame), t.transferMs, t.cancelGraceMs);
        const SendRecord record{role_,      c.path,      kind_,
                                c.reportId, sent.size(), r.outcome,
                                r.error,    start,       system_.NowMs() - start};
        history_.Add(record);
        stuck_ = r.outcome == Outcome::Stuck;
        // A control request moves no bytes back; a write must move all of them.
        const bool whole =
            r.outcome == Outcome::Done && (kind_ != TransferKind::Output || r.moved == sent.size());
        log_.Sent(role_, what, payload, sent,
                  (whole || r.outcome != Outcome::Done ? WithError(OutcomeText(r.outcome), r.error)
                                                       : std::string("written only in part")) +
                      ", report id " + std::to_string(c.reportId) + ", " +
                      std::to_string(record.elapsedMs) + " ms");
        if (whole) {
            // The first send that went through is read back once, where the
            // description names a report to read.
            if (!worked_) {
                worked_ = true;
                UpdateStatus();
                ReadBack(t);
            }
            // Only a send that failed on the old handle and went through on a
            // fresh one proves a re-enumeration: a firmware that refuses a
            // report fails the same way, and telling that as a replug would
            // start a full upload for every refused report.
            if (reopened && replugged != nullptr)
                *replugged = true;
            if (eventDuringSend_.exchange(false))
                ConfirmLocked("an event of the device");
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
        // Only a refusal says the report belongs elsewhere: a time-out or a
        // device error would be sent on to collections (keyboards last) that
        // the device does not read, and the walk would end on one that merely
        // takes anything.
        if (!failed || !IsRefusal(r.error) || worked_)
            return 0;
        failed_[current_] = true;
        if (!OpenNext()) {
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
    auto channel = std::make_shared<Channel>(
        system_, log_, store_, history_, ids, role, std::move(candidates), collections, remembered,
        role == Role::Command ? description_.description.readBackId : std::nullopt);
    if (!channel->Open())
        return nullptr;
    return channel;
}

bool HidDevice::OpenRoleInto(Role role) {
    const std::uint64_t now = system_.NowMs();
    auto channel = OpenRole(role, MouseOf(SurveyAndLog()));
    std::lock_guard<std::mutex> guard(lock_);
    (role == Role::Command ? feature_ : output_) = channel;
    wanted_[static_cast<int>(role)] = true;
    lastLookMs_[static_cast<int>(role)] = now;
    return channel != nullptr;
}

std::shared_ptr<Channel> HidDevice::ChannelFor(Role role) {
    const int r = static_cast<int>(role);
    {
        std::lock_guard<std::mutex> guard(lock_);
        const auto& channel = role == Role::Command ? feature_ : output_;
        if (channel || !wanted_[r] || system_.NowMs() - lastLookMs_[r] < kLateOpenEveryMs)
            return channel;
        lastLookMs_[r] = system_.NowMs();
    }
    // Opened by the client when it had no candidate: a collection that
    // enumerates late (a mouse still starting at logon) is taken up here.
    log_.Line(std::string(RoleName(role)) + " channel: not open, looked for again at a send");
    auto channel = OpenRole(role, MouseOf(SurveyAndLog()));
    std::lock_guard<std::mutex> guard(lock_);
    auto& slot = role == Role::Command ? feature_ : output_;
    // A close (or another open) in the meantime has the last word.
    if (wanted_[r] && !slot)
        slot = channel;
    return slot;
}

void HidDevice::EventArrived() {
    for (const auto& channel : OpenChannels()) channel->Confirm("an event of the device");
}

bool HidDevice::ForgetChannels() {
    const DeviceIds ids = Ids();
    const bool forgotten = store_.Forget(ids.vendorId, ids.productId);
    log_.Line(forgotten ? "remembered channels forgotten: the next opening ranks afresh"
                        : "remembered channels could not be forgotten: " + store_.Where() +
                              " cannot be written");
    return forgotten;
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
    return OpenRoleInto(Role::Command);
}

bool HidDevice::OpenReport() {
    CloseReport();
    if (OpenRoleInto(Role::Chunk))
        return true;
    // Without a way for chunks the commands still reach the mouse.
    return Probe();
}

void HidDevice::CloseFeature() {
    CloseRole(Role::Command, feature_);
}

void HidDevice::CloseReport() {
    CloseRole(Role::Chunk, output_);
}

void HidDevice::CloseRole(Role role, std::shared_ptr<Channel>& slot) {
    std::shared_ptr<Channel> closing;
    {
        std::lock_guard<std::mutex> guard(lock_);
        closing.swap(slot);
        wanted_[static_cast<int>(role)] = false;
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
    return SendOn(ChannelFor(Role::Command), payload);
}

int HidDevice::Write(std::span<const std::uint8_t> payload) {
    return SendOn(ChannelFor(Role::Chunk), payload);
}

bool HidDevice::OwnsPath(const std::string& path) {
    return ForChannelsOn(OpenChannels(), path, [](Channel&) {});
}

bool HidDevice::QueryRemove(const std::string& path) {
    return ForChannelsOn(OpenChannels(), path, [](Channel& channel) { channel.Release(); });
}

bool HidDevice::RemoveCancelled(const std::string& path) {
    return ForChannelsOn(OpenChannels(), path, [](Channel& channel) { channel.Restore(); });
}

bool HidDevice::RemoveComplete(const std::string& path) {
    return ForChannelsOn(OpenChannels(), path, [](Channel& channel) { channel.Drop(); });
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
        if ((!c.keyboard && system_.Open(c.path, Access::ReadWrite)) ||
            system_.Open(c.path, Access::None)) {
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
                (remembered ? RememberedText(*remembered) : std::string("nothing")) + " (" +
                store_.Where() + ")\r\n";
    }
    // The opens and sends of late, with the access asked, the system's error
    // and the time taken; the recent lines hold everything else.
    text += std::string(kTransfersHeading) + "\r\n";
    for (const std::string& line : history_.Lines()) text += "  > " + line + "\r\n";
    text += std::string(kRecentHeading) + "\r\n";
    for (const std::string& line : log_.Recent()) text += "  | " + line + "\r\n";
    return text;
}

}  // namespace korrin
