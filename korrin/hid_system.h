// The system's HID functions as the library needs them, and nothing more:
// list the HID interfaces, describe one (attributes, usage, report lengths and
// report ids), open it with a given access, and run overlapped transfers that
// can be waited for with a time-out, cancelled and aborted from another
// thread. Everything above this interface (which collection carries what, how
// a report is framed, how long a transfer may take, what an input report
// means) is platform-free and tested against fake devices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korrin {

// One report id of a report type and the length its fields declare, the
// report id byte included.
struct ReportLength {
    std::uint8_t id = 0;
    std::uint16_t length = 0;
    bool operator==(const ReportLength&) const = default;
};

// One report type (input, output or feature) of a top-level collection.
struct ReportSpec {
    // Length of every buffer of this type as the system takes and gives it,
    // the report id byte included: the longest report of the type.
    std::uint16_t length = 0;
    // Every report id named by the value and button caps of this type, lowest
    // first, with its declared length; {0, length} when the collection uses no
    // report ids.
    std::vector<ReportLength> reports;
    bool operator==(const ReportSpec&) const = default;
};

enum class ReportType { Input, Output, Feature };

// One field of a report as the system's value and button caps name it: what
// a user's device report must show so that its layout can be rebuilt and
// checked (the system does not give out the descriptor itself).
struct ReportCap {
    ReportType type = ReportType::Input;
    bool button = false;  // a button cap: one bit per usage
    std::uint8_t reportId = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usageMin = 0;
    std::uint16_t usageMax = 0;  // equal to usageMin unless a range
    bool isRange = false;
    bool isAlias = false;
    std::uint16_t bitSize = 0;
    std::uint16_t reportCount = 0;
    // The field's first bit after the report id, where the system says.
    std::optional<std::uint16_t> bitPosition;
    bool operator==(const ReportCap&) const = default;
};

// Usage page and usage of a top-level collection.
struct Usage {
    std::uint16_t page = 0;
    std::uint16_t id = 0;
};

// One HID interface as listed, before it is opened at all.
struct InterfaceEntry {
    std::string path;
    // From the interface's hardware ids when the system names it there; lets
    // collections that are none of our business be passed over unopened.
    std::optional<Usage> usage;
    // What the interface's physical device is known by (its container id, or
    // the USB device above it); empty when the system does not say. Two
    // identical mice differ here and nowhere else.
    std::string deviceKey;
    // The interface's hardware ids, "; " between them; empty when unknown.
    std::string hardwareIds;
};

// One HID interface: on Windows one device path per top-level collection.
struct CollectionInfo {
    std::string path;
    // The physical device the collection belongs to (see InterfaceEntry); the
    // survey fills it, from the path when the system does not say.
    std::string deviceKey;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    ReportSpec input;
    ReportSpec output;
    ReportSpec feature;
    // What the device says of itself (bcdDevice, its strings, UTF-8) and
    // what the system lists it under; empty where they could not be read.
    std::uint16_t version = 0;
    std::string product;
    std::string manufacturer;
    std::string hardwareIds;
    // Every value and button cap, in the system's order per report type.
    std::vector<ReportCap> caps;
    bool operator==(const CollectionInfo&) const = default;
};

enum class Access {
    ReadWrite,  // reads, writes and feature reports
    Read,       // input reports only (and feature reports)
    None,       // no access, shared read/write: enough for feature reports on a
                // collection the system holds open (mouse, keyboard)
};

enum class TransferKind {
    SetFeature,  // feature report: works on a handle opened without access
    GetFeature,
    Output,     // output report written to the interrupt pipe: needs write access
    SetOutput,  // output report as a control request: works without access
    Input,
};

// System error codes the library acts upon (Win32 values: they are what the
// system reports, on every width).
namespace syserr {
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kBadCommand = 22;
inline constexpr std::uint32_t kGenFailure = 31;
inline constexpr std::uint32_t kDeviceNotConnected = 1167;
}  // namespace syserr

// A transfer on a handle whose device object has gone (a replug, a resume, a
// hub power-cycling, a driver restart) fails with one of these; a fresh
// handle on the same path may work.
inline bool IsDeviceGone(std::uint32_t error) {
    return error == syserr::kDeviceNotConnected || error == syserr::kInvalidHandle ||
           error == syserr::kBadCommand || error == syserr::kGenFailure;
}

enum class WaitResult {
    Done,      // the transfer ended (well or not: Finish tells)
    TimedOut,  // still running when the time was up
    Aborted,   // Abort() was called
};

// An open interface. One transfer at a time; the bytes of a transfer belong to
// the handle until it has ended, so a transfer that never ends costs memory,
// never a dangling buffer.
class HidHandle {
  public:
    virtual ~HidHandle() = default;
    // Starts a transfer of `report` (the whole report, id byte first; for a
    // read, a buffer of the report length with the id in byte 0). False when
    // the system refused it at once.
    virtual bool Begin(TransferKind kind, std::vector<std::uint8_t> report) = 0;
    // Waits for the started transfer. When `abortable`, Abort() from any thread
    // ends the wait at once (and every later abortable wait).
    virtual WaitResult Wait(std::uint32_t timeoutMs, bool abortable) = 0;
    // Asks the system to cancel the started transfer; called from the thread
    // that began it.
    virtual void Cancel() = 0;
    // The outcome of a transfer that has ended: bytes moved, or nothing when
    // it failed or was cancelled. The report read is in Received().
    virtual std::optional<std::size_t> Finish() = 0;
    virtual std::span<const std::uint8_t> Received() const = 0;
    // The system's error code of the last Begin refused or transfer failed;
    // 0 when it did not say.
    virtual std::uint32_t Error() const = 0;
    // Wakes an abortable wait on another thread. Safe from any thread.
    virtual void Abort() = 0;
    // What the platform's event loop waits on for a started read (the Windows
    // event handle); the platform-free code only passes it along.
    virtual std::uintptr_t Waitable() const = 0;
};

// An open handle, or the system's error code of why it would not open.
struct OpenResult {
    std::unique_ptr<HidHandle> handle;
    std::uint32_t error = 0;
    explicit operator bool() const { return handle != nullptr; }
};

// The system's promise to tell the watch when the device behind an open
// handle is asked to go, has gone, or stays after all. It outlives the handle
// on purpose: a handle closed to let a removal through must still hear that
// the removal was cancelled. Dropping it ends the promise.
class RemovalNotice {
  public:
    virtual ~RemovalNotice() = default;
};

class HidSystem {
  public:
    virtual ~HidSystem() = default;
    // Every HID interface present, in the system's order.
    virtual std::vector<InterfaceEntry> Interfaces() = 0;
    // Attributes and capabilities of one interface; read without access
    // rights, so it works on collections the system holds open.
    virtual std::optional<CollectionInfo> Describe(const std::string& path) = 0;
    // An open handle, or the error when the system refuses that access.
    virtual OpenResult Open(const std::string& path, Access access) = 0;
    // Asks for removal notices about the device behind `handle`, opened on
    // `path`; nullptr when nobody listens for them.
    virtual std::unique_ptr<RemovalNotice> WatchRemoval(HidHandle& handle,
                                                        const std::string& path) = 0;
    // A millisecond clock for time stamps and the capture window.
    virtual std::uint64_t NowMs() = 0;
};

}  // namespace korrin
