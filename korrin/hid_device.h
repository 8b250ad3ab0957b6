// The HID half of the library: the command channel (8-byte reports) and the
// chunk channel (64-byte reports) of the selected mouse, chosen among the
// collections' report ids, each send bounded by a time-out. When the system
// refuses a send on the chosen candidate, the next candidate takes it; the
// one the device confirmed is remembered for the device across restarts.
//
// The lock here guards which channels are open and is never held during a
// transfer: closing a channel (removal, shut-down) aborts a transfer that is
// under way on another thread instead of waiting behind it, and the channel's
// handle is released when that transfer has let go of it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "korrin/capture_log.h"
#include "korrin/channel_plan.h"
#include "korrin/device_description.h"
#include "korrin/hid_system.h"

namespace korrin {

struct Timeouts {
    // One feature or output report: a firmware may hold a report while it
    // writes its flash.
    std::uint32_t transferMs = 2500;
    std::uint32_t readMs = 100;         // one input report asked for by the client
    std::uint32_t cancelGraceMs = 500;  // for a cancelled transfer to end
};

enum class Outcome { Done, Refused, TimedOut, Aborted, Failed, Stuck };
const char* OutcomeText(Outcome outcome);

struct TransferResult {
    Outcome outcome = Outcome::Failed;
    std::size_t moved = 0;
    std::uint32_t error = 0;  // the system's, when it refused or failed the transfer
};

// One transfer: begin, wait up to `timeoutMs` (or until aborted), cancel when
// it did not end, and wait `graceMs` for the cancellation. Stuck means even
// that did not end it: the handle must not be used again.
TransferResult RunTransfer(HidHandle& handle, TransferKind kind, std::vector<std::uint8_t> report,
                           std::uint32_t timeoutMs, std::uint32_t graceMs);

// A send that failed with one of these was refused by the system or the
// driver for what it is (a request the collection does not take, a report id
// or length it does not have, an access the handle lacks): another candidate
// may take it. A time-out or any other error is the device's answer and
// stays a failure (see korrin/README.md, "When a send fails").
bool IsRefusal(std::uint32_t error);

// One open of a candidate, and one send: what the system said and how long
// it took, for the device report and the capture.
struct OpenRecord {
    Role role = Role::Command;
    std::string path;
    Access access = Access::None;
    bool opened = false;
    std::uint32_t error = 0;
    std::uint64_t atMs = 0;  // on the system's monotonic clock
    std::uint64_t elapsedMs = 0;
};

struct SendRecord {
    Role role = Role::Command;
    std::string path;
    TransferKind kind = TransferKind::SetFeature;
    std::uint8_t reportId = 0;
    std::size_t length = 0;  // the buffer given to the system
    Outcome outcome = Outcome::Failed;
    std::uint32_t error = 0;
    std::uint64_t atMs = 0;  // on the system's monotonic clock
    std::uint64_t elapsedMs = 0;
};

// The last opens and sends, bounded; safe from any thread.
class TransferHistory {
  public:
    static constexpr std::size_t kMaxRecords = 32;
    void Add(OpenRecord record);
    void Add(SendRecord record);
    std::vector<OpenRecord> Opens() const;
    std::vector<SendRecord> Sends() const;
    // Every open and send kept, in the order they began, each as
    // "<role> channel <path>: " and its text (below).
    std::vector<std::string> Lines() const;

  private:
    mutable std::mutex lock_;
    std::vector<OpenRecord> opens_;
    std::vector<SendRecord> sends_;
};

// "read/write", "read only", "without access".
const char* AccessName(Access access);

// "opened without access in 1 ms" / "read/write refused (system error 5) in
// 0 ms".
std::string OpenRecordText(const OpenRecord& record);

// "feature report id 5 [9]: sent, 3 ms" / "... timed out, cancelled (system
// error 121), 2500 ms".
std::string SendRecordText(const SendRecord& record);

// Where the choice the device confirmed is kept between runs, per device and
// role.
class ChoiceStore {
  public:
    virtual ~ChoiceStore() = default;
    virtual std::optional<RememberedChoice> Load(std::uint16_t vendorId, std::uint16_t productId,
                                                 Role role) = 0;
    virtual void Save(std::uint16_t vendorId, std::uint16_t productId, Role role,
                      const RememberedChoice& choice) = 0;
    // Forgets both roles of the device; false when the store could not be
    // written.
    virtual bool Forget(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // Where, for the device report.
    virtual std::string Where() const = 0;
};

struct DeviceIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// The candidates of one role, one of them open.
class Channel {
  public:
    Channel(HidSystem& system, CaptureLog& log, ChoiceStore& store, TransferHistory& history,
            DeviceIds ids, Role role, std::vector<ChannelChoice> candidates,
            std::vector<CollectionInfo> collections, std::optional<RememberedChoice> remembered,
            std::optional<std::uint8_t> readBackId = {});
    // Opens the best candidate that opens; false when none does.
    bool Open();
    // Frames `payload` (report id, payload, zero fill to the buffer length)
    // and sends it; when the system refuses it (IsRefusal) the next candidate
    // is tried with the same payload. 1 when the whole report went, 0
    // otherwise. A payload that does not fit the buffer is refused, never
    // cut. A send that fails because the device
    // object behind the handle has gone is sent again once on a fresh handle
    // of the same path; `replugged` is set when that one went through.
    int Send(std::span<const std::uint8_t> payload, const Timeouts& t, bool* replugged = nullptr);
    // Reads one feature or input report; its bytes after the report id.
    int Receive(TransferKind kind, std::span<std::uint8_t> out, std::uint32_t timeoutMs,
                const Timeouts& t);
    // Ends a transfer under way on another thread at once; the channel is
    // closed for good.
    void Abort();
    // The interface path of the open (or released) candidate, empty when none.
    std::string Path();
    // The device answered after sends on this channel (an event came): the
    // candidate is remembered. Nothing happens before a send has gone.
    void Confirm(const char* how);
    // The device was re-enumerated under the same path (another channel found
    // its handle stale): a fresh handle on the same candidate.
    bool Refresh();
    // The system asks to remove the device: the handle is closed at once (a
    // transfer under way is aborted) and the removal notice kept.
    void Release();
    // The removal was cancelled: the same candidate is opened again.
    bool Restore();
    // The device has gone: handle and notice dropped; sends fail until the
    // channel is opened anew.
    void Drop();
    // "command channel: <path> as feature report, ... opened read/write";
    // never waits for a transfer.
    std::string Status();

  private:
    bool OpenCandidate(std::size_t i);
    bool OpenNext();
    bool ReopenCurrent();
    void ConfirmLocked(const char* how);
    void ReadBack(const Timeouts& t);
    void UpdateStatus();

    HidSystem& system_;
    CaptureLog& log_;
    ChoiceStore& store_;
    TransferHistory& history_;
    DeviceIds ids_;
    Role role_;
    std::vector<ChannelChoice> candidates_;
    std::vector<CollectionInfo> collections_;
    std::optional<RememberedChoice> remembered_;
    std::optional<std::uint8_t> readBackId_;

    std::mutex transfer_;  // one transfer at a time; guards what follows
    std::vector<bool> failed_;
    std::size_t current_ = 0;
    TransferKind kind_ = TransferKind::SetFeature;  // as opened
    std::string access_;
    bool stuck_ = false;
    bool worked_ = false;     // a send went through on the open candidate: no more walking
    bool confirmed_ = false;  // and the device answered after it
    std::atomic<bool> eventDuringSend_{false};
    bool released_ = false;  // closed for a removal that may yet be cancelled

    std::mutex handleLock_;  // the handle pointer against Abort from another thread
    std::unique_ptr<HidHandle> handle_;
    std::unique_ptr<RemovalNotice> notice_;  // may outlive the handle (a release)
    std::string path_;                       // of handle_ or of the released candidate
    bool closed_ = false;

    std::mutex statusLock_;  // read by the device report while a send may run
    std::string status_;
};

class HidDevice {
  public:
    // `description` says which collections and report ids the channels
    // prefer; its ids are the client's business (see Set_VIDPID).
    HidDevice(HidSystem& system, CaptureLog& log, ChoiceStore& store, Timeouts timeouts = {},
              DescriptionLoad description = {});
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    void SetIds(std::uint16_t vendorId, std::uint16_t productId);
    // Told, on the sending thread, when a send found its handle stale and went
    // through on a fresh one: the device was re-enumerated and may have lost
    // what it was sent, so its client should treat this as a replug.
    void SetReplugHandler(std::function<void()> handler);
    bool OpenFeature();
    void CloseFeature();
    // Opens the chunk channel. True when the mouse is present and usable:
    // its chunk channel opened, or at least its command channel opens.
    bool OpenReport();
    void CloseReport();
    // A channel that had no candidate when it was opened (a collection that
    // enumerates late) is looked for again at a send, at most once per
    // kLateOpenEveryMs, and opened when it is there.
    int SetFeature(std::span<const std::uint8_t> payload);
    int Write(std::span<const std::uint8_t> payload);
    static constexpr std::uint64_t kLateOpenEveryMs = 1000;

    // An event of the mouse was received: the channels that sent since they
    // opened are confirmed and remembered.
    void EventArrived();
    // Forgets the remembered channels of the device (the channels open stay
    // as they are); false when the store could not be written.
    bool ForgetChannels();
    // The last opens and sends with their system errors and times.
    const TransferHistory& History() const { return history_; }
    int GetFeature(std::span<std::uint8_t> out);
    int Read(std::span<std::uint8_t> out);

    // The read/write probe, for start-up and the system's arrival notice: the
    // mouse is usable when a command candidate opens. The mouse in use stays
    // so while it is listed; else the first listed becomes it once usable.
    // `collections` gets its collections (another mouse's are never read).
    bool Probe(std::vector<CollectionInfo>* collections = nullptr);
    // The cheap check of every poll: the mouse in use (no other of its kind)
    // is still listed with a command candidate; nothing is opened beyond
    // reading capabilities.
    bool Listed(std::vector<CollectionInfo>* collections = nullptr);

    // True when an open channel uses the interface `path` (any case): a
    // removal notice naming it means our mouse has gone.
    bool OwnsPath(const std::string& path);
    // The system's handle notices, for the channels on `path`; each true when
    // a channel of ours was concerned. A query closes them, a cancelled
    // removal reopens them, a completed (or pending) removal drops them.
    bool QueryRemove(const std::string& path);
    bool RemoveCancelled(const std::string& path);
    bool RemoveComplete(const std::string& path);

    // Plain text, CRLF lines: every interface with its collections and report
    // ids, grouped by physical device (the mouse in use first named as such),
    // the chosen channels and why, the remembered choices. Empty when
    // nothing of the device is known.
    std::string Report();
    const DescriptionLoad& Description() const { return description_; }

  private:
    const ChannelPreference& Preference(Role role) const;
    std::shared_ptr<Channel> OpenRole(Role role, const std::vector<CollectionInfo>& collections);
    bool OpenRoleInto(Role role);
    // No longer wanted: the channel of `role`, kept in `slot`, is closed.
    void CloseRole(Role role, std::shared_ptr<Channel>& slot);
    // The channel of `role`, opened now when it was wanted but had no
    // candidate and the last look is long enough ago.
    std::shared_ptr<Channel> ChannelFor(Role role);
    // The collections of the mouse in use among those surveyed; remembers it.
    std::vector<CollectionInfo> MouseOf(const std::vector<CollectionInfo>& all);
    std::vector<std::shared_ptr<Channel>> OpenChannels();
    int SendOn(std::shared_ptr<Channel> channel, std::span<const std::uint8_t> payload);
    std::vector<CollectionInfo> SurveyAndLog();
    DeviceIds Ids();
    void LogProbe(const std::string& probe);

    HidSystem& system_;
    CaptureLog& log_;
    ChoiceStore& store_;
    Timeouts timeouts_;
    const DescriptionLoad description_;
    std::mutex lock_;  // the ids, the two channel pointers, the mouse and the last probe
    DeviceIds ids_;
    std::string mouse_;  // device key of the mouse in use
    std::function<void()> onReplug_;
    std::shared_ptr<Channel> feature_;
    std::shared_ptr<Channel> output_;
    // Opened by the client and not closed since, open or not (per role).
    bool wanted_[2] = {false, false};
    std::uint64_t lastLookMs_[2] = {0, 0};
    std::string lastProbe_;
    TransferHistory history_;
};

}  // namespace korrin
