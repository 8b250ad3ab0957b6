// Reads the mouse's input reports. The collections that may carry the event
// report of the device description (any vendor collection with input reports,
// whatever their length, unless it names a usage page) are read all the time
// and their event reports become events;
// while a capture runs, every other collection that lets itself be read is
// read too, and what arrives is only recorded. An input report of any other
// format is recorded, never turned into an event. Keyboards and digitizers
// are never read (nor opened for reading).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "korrin/capture_log.h"
#include "korrin/device_description.h"
#include "korrin/hid_system.h"

namespace korrin {

class InputReader {
  public:
    using EventSink = std::function<void(std::uint32_t code)>;
    InputReader(HidSystem& system, CaptureLog& log, EventSink onEvent,
                std::uint32_t cancelGraceMs = 500, EventFormat format = {});
    ~InputReader();
    InputReader(const InputReader&) = delete;
    InputReader& operator=(const InputReader&) = delete;

    // Opens the collections to read and starts a read on each.
    void Start(const std::vector<CollectionInfo>& collections);
    // Cancels the reads and closes the collections; on the thread that started them.
    void Stop();
    bool Running() const { return started_; }
    // Every collection it read has failed since (the device went away and may
    // be back under the same name before anyone noticed): time to start again.
    bool Lost() const { return started_ && openedAny_ && sources_.empty(); }
    // A report was read since the last start.
    bool Took() const { return taken_; }
    // Takes every read that has ended, and starts the next one.
    void Service();
    // What the event loop waits on: one object per read under way.
    std::vector<std::uintptr_t> Waitables() const;

    // At most this many collections are read (the event loop waits on one
    // object per read besides its message queue).
    static constexpr std::size_t kMaxSources = 32;

  private:
    struct Source {
        CollectionInfo collection;
        std::unique_ptr<HidHandle> handle;
        std::unique_ptr<RemovalNotice> notice;
        bool events = false;
        bool pending = false;
    };
    bool Begin(Source& source);
    void End(Source& source);
    void Take(Source& source);

    HidSystem& system_;
    CaptureLog& log_;
    EventSink onEvent_;
    std::uint32_t cancelGraceMs_;
    EventFormat format_;
    std::vector<Source> sources_;
    bool started_ = false;
    bool openedAny_ = false;
    bool taken_ = false;
};

}  // namespace korrin
