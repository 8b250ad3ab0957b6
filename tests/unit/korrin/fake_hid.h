// A fake HID system built from descriptor layouts of the kind real mice have.
// It behaves like the system where the library may rely on it (refused opens,
// report lengths checked, one transfer at a time per handle) and fails the
// test loudly on any call the library has no business making.
#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "korrin/capture_log.h"
#include "korrin/device_report.h"
#include "korrin/hid_device.h"
#include "korrin/hid_system.h"

namespace korrin::fake {

struct FakeCollection {
    CollectionInfo info;
    bool refusesReadWrite = false;  // held by the system (mouse, keyboard)
    std::string deviceKey;          // as the system names the physical device; "" = not at all
};

// How a send (set feature or output write) goes.
enum class SendMode {
    Complete,    // at once, every byte
    Stall,       // never by itself; a cancellation ends it
    Stuck,       // not even a cancellation ends it
    BlockUntil,  // blocks the waiting thread until aborted (or its time-out passes)
};

struct Transfer {
    std::string path;
    TransferKind kind;
    std::vector<std::uint8_t> bytes;
};

struct OpenCall {
    std::string path;
    Access access;
};

class FakeHid final : public HidSystem {
  public:
    explicit FakeHid(std::vector<FakeCollection> collections,
                     std::vector<std::string> otherDevices = {});
    ~FakeHid() override;

    std::vector<InterfaceEntry> Interfaces() override;
    std::optional<CollectionInfo> Describe(const std::string& path) override;
    OpenResult Open(const std::string& path, Access access) override;
    std::unique_ptr<RemovalNotice> WatchRemoval(HidHandle& handle,
                                                const std::string& path) override;
    std::uint64_t NowMs() override { return now; }

    // Input reports the device will deliver on a collection, in order; an
    // empty one is a read that fails (the device went away).
    void Queue(const std::string& path, std::vector<std::uint8_t> report);
    // Blocks until a BlockUntil send waits.
    void WaitUntilBlocked();
    // The device objects are created anew under the same paths (a resume, a
    // hub power-cycling): every handle opened before fails from now on with
    // ERROR_DEVICE_NOT_CONNECTED; new opens work.
    void Reenumerate() { ++generation; }
    // The physical device `deviceKey` is unplugged: its collections are no
    // longer listed and their handles fail.
    void Unplug(const std::string& deviceKey);

    std::uint64_t now = 1000;
    SendMode sendMode = SendMode::Complete;
    // Collections whose firmware fails every send (the transfer ends in error
    // `failError`, what a stalled request gives).
    std::vector<std::string> failingSends;
    std::uint32_t failError = 1;
    std::vector<Transfer> transfers;  // every transfer begun
    std::vector<OpenCall> opens;
    std::vector<std::pair<std::uint32_t, bool>> waits;  // timeout and abortable, of sends
    std::vector<WaitResult> sendWaitResults;
    int cancels = 0;
    int liveHandles = 0;
    int liveNotices = 0;
    std::vector<std::string> watched;  // every path a removal notice was asked for
    int generation = 0;

    // Used by the handles.
    const FakeCollection* Find(const std::string& path) const;
    std::mutex lock;
    std::condition_variable changed;
    bool blocked = false;
    std::map<std::string, std::deque<std::vector<std::uint8_t>>> inputs;

  private:
    bool Unplugged(const std::string& path) const;
    std::vector<FakeCollection> collections_;
    std::vector<std::string> others_;
    std::vector<std::string> unplugged_;
};

// Lines of the diagnostics and of the capture file, kept for the test to read.
class MemorySink final : public LogSink {
  public:
    void Debug(const std::string& line) override { lines.push_back(line); }
    bool OpenCapture() override {
        captured.clear();
        fileOpen = true;
        return true;
    }
    void WriteCapture(const std::string& line) override {
        EXPECT_TRUE(fileOpen) << "capture line written with no file open: " << line;
        captured.push_back(line);
    }
    void CloseCapture() override { fileOpen = false; }
    std::string CapturePath() const override { return "C:\\mouse\\logs\\capture.txt"; }
    bool Has(const std::string& part) const;
    bool Captured(const std::string& part) const;
    std::vector<std::string> lines;
    std::vector<std::string> captured;
    bool fileOpen = false;
};

// Remembered choices in memory; every save is kept.
class MemoryStore final : public ChoiceStore {
  public:
    std::optional<RememberedChoice> Load(std::uint16_t, std::uint16_t, Role role) override {
        auto it = choices.find(role);
        return it == choices.end() ? std::nullopt : std::optional(it->second);
    }
    void Save(std::uint16_t vendorId, std::uint16_t productId, Role role,
              const RememberedChoice& choice) override {
        EXPECT_EQ(vendorId, 0x04D9);
        EXPECT_EQ(productId, 0xAD50);
        choices[role] = choice;
        ++saves;
    }
    std::string Where() const override { return "memory"; }
    std::map<Role, RememberedChoice> choices;
    int saves = 0;
};

// A copy of `layout` as a second mouse of the same kind: its own paths (another
// USB port's instance) and device key.
std::vector<FakeCollection> SecondMouse(std::vector<FakeCollection> layout);
// `layout` with every collection named as one device, `key`.
std::vector<FakeCollection> AsDevice(std::vector<FakeCollection> layout, const std::string& key);

// A report type with one report id (0: none) of the given length.
ReportSpec One(std::uint16_t length, std::uint8_t id = 0);

// The layouts. Each has the system's mouse collection first.
//  (a) vendor collection, no report ids: feature 9, output 65, input 65
//  (b) keyboard, consumer and vendor collections of one interface, with ids:
//      vendor feature id 5 (8 + 1), output id 6 (64 + 1), input id 7; the
//      keyboard lets itself be opened (the library must not)
//  (c) the feature report on the system's mouse collection (id 3), which
//      refuses read/write opens; output on a vendor collection
//  (d) no output collection at all
//  (e) feature reports only, on one vendor collection: id 1 of 8 + 1 bytes
//      and id 2 of 64 + 1
std::vector<FakeCollection> LayoutA();
std::vector<FakeCollection> LayoutB();
std::vector<FakeCollection> LayoutC();
std::vector<FakeCollection> LayoutD();
std::vector<FakeCollection> LayoutE();

// The layout a user's saved device report shows: its collections in the
// order listed, each named as the device it was listed under, refusing
// read/write where the report says the library was refused.
std::vector<FakeCollection> LayoutFromReport(const ReportLayout& report);

inline constexpr std::uint16_t kVid = 0x04D9;
inline constexpr std::uint16_t kPid = 0xAD50;

}  // namespace korrin::fake
