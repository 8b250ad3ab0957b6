#include "tests/unit/korrin/fake_hid.h"

#include <algorithm>
#include <chrono>

#include "korrin/channel_plan.h"

namespace korrin::fake {

namespace {

std::string PathOf(const std::string& id) {
    return R"(\\?\hid#vid_04d9&pid_ad50&)" + id +
           R"(#7&2a1f&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
}

FakeCollection Collection(const std::string& id, std::uint16_t page, std::uint16_t usage,
                          ReportSpec input, ReportSpec output, ReportSpec feature,
                          bool systemOwned) {
    FakeCollection c;
    c.info.path = PathOf(id);
    c.info.vendorId = kVid;
    c.info.productId = kPid;
    c.info.usagePage = page;
    c.info.usage = usage;
    c.info.input = std::move(input);
    c.info.output = std::move(output);
    c.info.feature = std::move(feature);
    c.refusesReadWrite = systemOwned;
    return c;
}

FakeCollection SystemMouse(ReportSpec feature = {}) {
    return Collection("mi_00", 0x0001, 0x0002, One(5), {}, std::move(feature), true);
}

class FakeNotice final : public RemovalNotice {
  public:
    explicit FakeNotice(FakeHid& system) : system_(system) { ++system_.liveNotices; }
    ~FakeNotice() override { --system_.liveNotices; }

  private:
    FakeHid& system_;
};

class FakeHandle final : public HidHandle {
  public:
    FakeHandle(FakeHid& system, const FakeCollection& collection, Access access, std::uintptr_t id)
        : system_(system),
          collection_(collection),
          access_(access),
          id_(id),
          generation_(system.generation) {
        ++system_.liveHandles;
    }
    ~FakeHandle() override { --system_.liveHandles; }

    bool Begin(TransferKind kind, std::vector<std::uint8_t> report) override {
        if (state_ == State::Pending) {
            ADD_FAILURE() << "a second transfer begun on " << Path() << " while one is under way";
            return false;
        }
        const bool output = kind == TransferKind::Output || kind == TransferKind::SetOutput;
        const ReportSpec& spec = kind == TransferKind::Input ? collection_.info.input
                                 : output                    ? collection_.info.output
                                                             : collection_.info.feature;
        if (report.size() != spec.length)
            ADD_FAILURE() << "transfer of " << report.size() << " bytes on " << Path()
                          << ", the system takes exactly " << spec.length;
        if (kind == TransferKind::Output && access_ != Access::ReadWrite)
            ADD_FAILURE() << "write on a handle opened without write access: " << Path();
        if (kind == TransferKind::Input && access_ == Access::None)
            ADD_FAILURE() << "read on a handle opened without read access: " << Path();
        if (kind != TransferKind::Input) {
            std::lock_guard<std::mutex> guard(system_.lock);
            system_.transfers.push_back({collection_.info.path, kind, report});
        }
        // The device object this handle was opened on is gone: the system
        // refuses at once.
        if (generation_ != system_.generation || system_.Find(Path()) == nullptr) {
            error_ = syserr::kDeviceNotConnected;
            return false;
        }
        kind_ = kind;
        buffer_ = std::move(report);
        cancelled_ = false;
        state_ = State::Pending;
        return true;
    }

    WaitResult Wait(std::uint32_t timeoutMs, bool abortable) override {
        if (state_ != State::Pending) {
            ADD_FAILURE() << "wait without a transfer on " << Path();
            return WaitResult::Done;
        }
        if (kind_ == TransferKind::Input)
            return cancelled_ || !Queue().empty() ? WaitResult::Done : WaitResult::TimedOut;
        const WaitResult r = WaitSend(timeoutMs, abortable);
        std::lock_guard<std::mutex> guard(system_.lock);
        system_.waits.emplace_back(timeoutMs, abortable);
        system_.sendWaitResults.push_back(r);
        return r;
    }

    void Cancel() override {
        if (state_ != State::Pending)
            ADD_FAILURE() << "cancel without a transfer on " << Path();
        ++system_.cancels;
        cancelled_ = true;
    }

    std::optional<std::size_t> Finish() override {
        if (state_ != State::Pending) {
            ADD_FAILURE() << "finish without a transfer on " << Path();
            return std::nullopt;
        }
        state_ = State::Ended;
        if (cancelled_)
            return std::nullopt;
        if (kind_ == TransferKind::Input) {
            auto& queue = Queue();
            if (queue.empty()) {
                ADD_FAILURE() << "finish of a read that has not ended on " << Path();
                return std::nullopt;
            }
            const std::vector<std::uint8_t> report = queue.front();
            queue.pop_front();
            if (report.empty())
                return std::nullopt;  // the device went away
            const std::size_t n = std::min(report.size(), buffer_.size());
            std::copy_n(report.begin(), n, buffer_.begin());
            received_ = n;
            return n;
        }
        if (system_.sendMode != SendMode::Complete) {
            ADD_FAILURE() << "finish of a send that has not ended on " << Path();
            return std::nullopt;
        }
        if (std::find(system_.failingSends.begin(), system_.failingSends.end(), Path()) !=
            system_.failingSends.end()) {
            error_ = system_.failError;
            return std::nullopt;
        }
        received_ = kind_ == TransferKind::GetFeature ? buffer_.size() : 0;
        return buffer_.size();
    }

    std::span<const std::uint8_t> Received() const override {
        if (state_ != State::Ended)
            ADD_FAILURE() << "received bytes asked for before the transfer ended on " << Path();
        return {buffer_.data(), received_};
    }

    std::uint32_t Error() const override { return error_; }

    void Abort() override {
        std::lock_guard<std::mutex> guard(system_.lock);
        aborted_ = true;
        system_.changed.notify_all();
    }

    std::uintptr_t Waitable() const override { return id_; }

  private:
    enum class State { Idle, Pending, Ended };

    const std::string& Path() const { return collection_.info.path; }
    std::deque<std::vector<std::uint8_t>>& Queue() { return system_.inputs[Path()]; }

    WaitResult WaitSend(std::uint32_t timeoutMs, bool abortable) {
        switch (system_.sendMode) {
            case SendMode::Complete:
                return WaitResult::Done;
            case SendMode::Stall:
                return cancelled_ ? WaitResult::Done : WaitResult::TimedOut;
            case SendMode::Stuck:
                return WaitResult::TimedOut;
            case SendMode::BlockUntil: {
                if (cancelled_)
                    return WaitResult::Done;
                std::unique_lock<std::mutex> guard(system_.lock);
                system_.blocked = true;
                system_.changed.notify_all();
                const bool woke =
                    system_.changed.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                             [&] { return abortable && aborted_; });
                system_.blocked = false;
                return woke ? WaitResult::Aborted : WaitResult::TimedOut;
            }
        }
        return WaitResult::TimedOut;
    }

    FakeHid& system_;
    const FakeCollection& collection_;
    Access access_;
    std::uintptr_t id_;
    State state_ = State::Idle;
    TransferKind kind_ = TransferKind::Input;
    std::vector<std::uint8_t> buffer_;
    std::size_t received_ = 0;
    bool cancelled_ = false;
    bool aborted_ = false;
    int generation_;
    std::uint32_t error_ = 0;
};

}  // namespace

FakeHid::FakeHid(std::vector<FakeCollection> collections, std::vector<std::string> otherDevices)
    : collections_(std::move(collections)), others_(std::move(otherDevices)) {}

FakeHid::~FakeHid() {
    EXPECT_EQ(liveHandles, 0) << "handles left open";
    EXPECT_EQ(liveNotices, 0) << "removal notices left registered";
}

const FakeCollection* FakeHid::Find(const std::string& path) const {
    if (Unplugged(path))
        return nullptr;
    for (const FakeCollection& c : collections_)
        if (c.info.path == path)
            return &c;
    return nullptr;
}

std::vector<InterfaceEntry> FakeHid::Interfaces() {
    std::vector<InterfaceEntry> entries;
    for (const std::string& other : others_) entries.push_back({other, std::nullopt, {}, {}});
    // The system names each collection's usage in its hardware ids.
    for (const FakeCollection& c : collections_)
        if (!Unplugged(c.info.path))
            entries.push_back({c.info.path, Usage{c.info.usagePage, c.info.usage}, c.deviceKey,
                               c.info.hardwareIds});
    return entries;
}

std::optional<CollectionInfo> FakeHid::Describe(const std::string& path) {
    const FakeCollection* c = Find(path);
    if (c == nullptr) {
        ADD_FAILURE() << "described a collection of another device: " << path;
        return std::nullopt;
    }
    // Reading the caps of a keyboard asks for no access: the device report
    // lists every collection. Opening one is what the library must not do.
    CollectionInfo info = c->info;
    // The system says nothing of the physical device here: the listing does.
    info.deviceKey.clear();
    info.hardwareIds.clear();
    return info;
}

OpenResult FakeHid::Open(const std::string& path, Access access) {
    constexpr std::uint32_t kAccessDenied = 5, kFileNotFound = 2;
    const FakeCollection* c = Find(path);
    if (c == nullptr) {
        if (Unplugged(path))
            return {nullptr, kFileNotFound};
        ADD_FAILURE() << "opened a collection of another device: " << path;
        return {nullptr, kFileNotFound};
    }
    if (IsPrivateCollection({c->info.usagePage, c->info.usage}))
        ADD_FAILURE() << "opened a keyboard or digitizer collection: " << path;
    opens.push_back({path, access});
    if (access != Access::None && c->refusesReadWrite)
        return {nullptr, kAccessDenied};
    return {std::make_unique<FakeHandle>(*this, *c, access, opens.size()), 0};
}

std::unique_ptr<RemovalNotice> FakeHid::WatchRemoval(HidHandle&, const std::string& path) {
    watched.push_back(path);
    return std::make_unique<FakeNotice>(*this);
}

void FakeHid::Unplug(const std::string& deviceKey) {
    // Handles keep a reference to their collection: it stays, only no longer
    // listed or found.
    for (const FakeCollection& c : collections_)
        if (c.deviceKey == deviceKey)
            unplugged_.push_back(c.info.path);
}

bool FakeHid::Unplugged(const std::string& path) const {
    return std::find(unplugged_.begin(), unplugged_.end(), path) != unplugged_.end();
}

void FakeHid::Queue(const std::string& path, std::vector<std::uint8_t> report) {
    inputs[path].push_back(std::move(report));
}

void FakeHid::WaitUntilBlocked() {
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [&] { return blocked; });
}

bool MemorySink::Has(const std::string& part) const {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

bool MemorySink::Captured(const std::string& part) const {
    return std::any_of(captured.begin(), captured.end(),
                       [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

std::vector<FakeCollection> AsDevice(std::vector<FakeCollection> layout, const std::string& key) {
    for (FakeCollection& c : layout) c.deviceKey = key;
    return layout;
}

std::vector<FakeCollection> SecondMouse(std::vector<FakeCollection> layout) {
    for (FakeCollection& c : layout) {
        const auto at = c.info.path.find("#7&2a1f&0&");
        c.info.path.replace(at, 10, "#7&9c04&0&");
        c.deviceKey = "{container-of-the-second-mouse}";
    }
    return layout;
}

std::vector<FakeCollection> LayoutFromReport(const ReportLayout& report) {
    std::vector<FakeCollection> layout;
    for (const CollectionInfo& c : report.collections) {
        FakeCollection fake;
        fake.info = c;
        fake.deviceKey = c.deviceKey;
        fake.refusesReadWrite =
            std::find(report.refusesReadWrite.begin(), report.refusesReadWrite.end(), c.path) !=
            report.refusesReadWrite.end();
        layout.push_back(std::move(fake));
    }
    return layout;
}

ReportSpec One(std::uint16_t length, std::uint8_t id) {
    return {length, {{id, length}}};
}

std::vector<FakeCollection> LayoutA() {
    return {SystemMouse(), Collection("mi_01", 0xFF00, 0x0001, One(65), One(65), One(9), false)};
}

std::vector<FakeCollection> LayoutB() {
    return {
        SystemMouse(),
        // A keyboard collection with a feature report of the command's length
        // that would even open read/write.
        Collection("mi_01&col01", 0x0001, 0x0006, One(9, 1), One(2, 1), One(9, 1), false),
        Collection("mi_01&col02", 0x000C, 0x0001, One(3, 2), {}, {}, false),
        Collection("mi_01&col03", 0xFF00, 0x0001, One(65, 7), One(65, 6), One(9, 5), false),
    };
}

std::vector<FakeCollection> LayoutC() {
    return {SystemMouse(One(9, 3)),
            Collection("mi_01", 0xFF01, 0x0001, One(65), One(65), {}, false)};
}

std::vector<FakeCollection> LayoutD() {
    return {SystemMouse(), Collection("mi_01", 0xFF00, 0x0001, One(9), {}, One(9), false)};
}

std::vector<FakeCollection> LayoutE() {
    return {SystemMouse(),
            Collection("mi_01", 0xFF00, 0x0001, One(9, 3), {}, {65, {{1, 9}, {2, 65}}}, false)};
}

}  // namespace korrin::fake
