// The HID half of the library: the feature channel for command reports and
// the output channel for data chunks of the selected mouse, chosen and framed
// by the collections' capabilities, every transfer bounded by a time-out.
//
// The lock here guards which channels are open and is never held during a
// transfer: closing a channel (removal, shut-down) aborts a transfer that is
// under way on another thread instead of waiting behind it, and the channel's
// handle is released when that transfer has let go of it.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "korrin/capture_log.h"
#include "korrin/channel_plan.h"
#include "korrin/hid_system.h"

namespace korrin {

struct Timeouts {
    std::uint32_t transferMs = 1000;    // one feature or output report
    std::uint32_t readMs = 100;         // one input report asked for by the client
    std::uint32_t cancelGraceMs = 500;  // for a cancelled transfer to end
};

enum class Outcome { Done, Refused, TimedOut, Aborted, Failed, Stuck };
const char* OutcomeText(Outcome outcome);

struct TransferResult {
    Outcome outcome = Outcome::Failed;
    std::size_t moved = 0;
};

// One transfer: begin, wait up to `timeoutMs` (or until aborted), cancel when
// it did not end, and wait `graceMs` for the cancellation. Stuck means even
// that did not end it: the handle must not be used again.
TransferResult RunTransfer(HidHandle& handle, TransferKind kind, std::vector<std::uint8_t> report,
                           std::uint32_t timeoutMs, std::uint32_t graceMs);

// An opened collection in one role.
class Channel {
  public:
    Channel(std::unique_ptr<HidHandle> handle, ChannelChoice choice, CollectionInfo collection,
            Role role);
    const ChannelChoice& Choice() const { return choice_; }
    // Frames `payload` (report id, payload, zero fill to the report length)
    // and sends it; 1 when the whole report went, 0 otherwise. A payload that
    // does not fit is refused, never cut.
    int Send(std::span<const std::uint8_t> payload, const Timeouts& t, CaptureLog& log);
    // Reads one feature or input report; its bytes after the report id.
    int Receive(TransferKind kind, std::span<std::uint8_t> out, std::uint32_t timeoutMs,
                const Timeouts& t);
    // Ends a transfer under way on another thread at once.
    void Abort() { handle_->Abort(); }

  private:
    std::mutex transfer_;  // one transfer at a time on the handle
    std::unique_ptr<HidHandle> handle_;
    ChannelChoice choice_;
    CollectionInfo collection_;
    Role role_;
    bool stuck_ = false;
};

class HidDevice {
  public:
    HidDevice(HidSystem& system, CaptureLog& log, Timeouts timeouts = {});
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    void SetIds(std::uint16_t vendorId, std::uint16_t productId);
    bool OpenFeature();
    void CloseFeature();
    bool OpenReport();
    void CloseReport();
    int SetFeature(std::span<const std::uint8_t> payload);
    int Write(std::span<const std::uint8_t> payload);
    int GetFeature(std::span<std::uint8_t> out);
    int Read(std::span<std::uint8_t> out);

    // Presence as the client understands it: the device's output channel can
    // be found and opened now. `collections` gets what the survey found.
    bool Usable(std::vector<CollectionInfo>* collections = nullptr);

  private:
    std::shared_ptr<Channel> OpenRole(Role role, const std::vector<CollectionInfo>& collections);
    std::vector<CollectionInfo> SurveyAndLog();
    std::shared_ptr<Channel> Get(const std::shared_ptr<Channel>& which);

    HidSystem& system_;
    CaptureLog& log_;
    Timeouts timeouts_;
    std::mutex lock_;  // the ids and the two channel pointers only
    std::uint16_t vendorId_ = 0;
    std::uint16_t productId_ = 0;
    std::shared_ptr<Channel> feature_;
    std::shared_ptr<Channel> output_;
    std::string lastProbe_;
};

}  // namespace korrin
