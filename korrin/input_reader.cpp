#include "korrin/input_reader.h"

#include <cstdio>

#include "korrin/channel_plan.h"
#include "korrin/korrin_core.h"

namespace korrin {

InputReader::InputReader(HidSystem& system, CaptureLog& log, EventSink onEvent,
                         std::uint32_t cancelGraceMs, EventFormat format)
    : system_(system),
      log_(log),
      onEvent_(std::move(onEvent)),
      cancelGraceMs_(cancelGraceMs),
      format_(std::move(format)) {}

InputReader::~InputReader() {
    Stop();
}

void InputReader::Start(const std::vector<CollectionInfo>& collections) {
    Stop();
    started_ = true;
    const bool capture = log_.Recording();
    for (const CollectionInfo& c : collections) {
        if (sources_.size() >= kMaxSources)
            break;
        if (IsPrivateCollection({c.usagePage, c.usage}))
            continue;
        const bool events = CarriesEvents(format_, c);
        if (c.input.length == 0 || (!events && !capture))
            continue;
        // Reading needs no more: a write right would only be refused where
        // another program holds the collection for writing.
        OpenResult opened = system_.Open(c.path, Access::Read);
        if (!opened) {
            log_.Line("input " + c.path + ": not readable (held by the system)");
            continue;
        }
        // A reader must never keep the device from being removed.
        auto notice = system_.WatchRemoval(*opened.handle, c.path);
        Source source{c, std::move(opened.handle), std::move(notice), events, false};
        log_.Line("input " + c.path + ": reading" +
                  (events ? " for events and capture" : " for capture"));
        if (Begin(source))
            sources_.push_back(std::move(source));
    }
    openedAny_ = !sources_.empty();
    taken_ = false;
}

bool InputReader::Begin(Source& source) {
    std::vector<std::uint8_t> buffer(source.collection.input.length, 0);
    source.pending = source.handle->Begin(TransferKind::Input, std::move(buffer));
    if (!source.pending)
        log_.Line("input " + source.collection.path + ": read refused, no longer read");
    return source.pending;
}

void InputReader::End(Source& source) {
    if (source.pending) {
        source.handle->Cancel();
        // A read that does not end even then keeps its buffer in the handle.
        if (source.handle->Wait(cancelGraceMs_, false) == WaitResult::Done)
            source.handle->Finish();
    }
    source.pending = false;
    source.handle.reset();
    source.notice.reset();
}

void InputReader::Stop() {
    for (Source& s : sources_) End(s);
    sources_.clear();
    started_ = false;
    openedAny_ = false;
}

void InputReader::Take(Source& source) {
    source.pending = false;
    const auto moved = source.handle->Finish();
    if (!moved) {
        // The collection went away; presence decides whether it comes back.
        log_.Line("input " + source.collection.path + ": read failed, no longer read");
        End(source);
        return;
    }
    taken_ = true;
    const auto all = source.handle->Received();
    const std::span<const std::uint8_t> report = all.first(std::min(*moved, all.size()));
    const auto code = source.events ? DecodeEvent(format_, report) : std::nullopt;
    const bool window = log_.Recording();
    if (window) {
        std::string outcome = "not an event";
        if (code) {
            char text[32];
            std::snprintf(text, sizeof text, "event %08X", static_cast<unsigned>(*code));
            outcome = text;
        }
        log_.Report("input " + source.collection.path, report, outcome);
    }
    if (code)
        onEvent_(*code);
    if (!source.events && !window) {
        log_.Line("input " + source.collection.path + ": capture over, no longer read");
        End(source);
        return;
    }
    if (!Begin(source))
        End(source);
}

void InputReader::Service() {
    for (Source& s : sources_) {
        if (s.pending && s.handle->Wait(0, false) == WaitResult::Done)
            Take(s);
    }
    std::erase_if(sources_, [](const Source& s) { return s.handle == nullptr; });
}

std::vector<std::uintptr_t> InputReader::Waitables() const {
    std::vector<std::uintptr_t> out;
    for (const Source& s : sources_)
        if (s.pending)
            out.push_back(s.handle->Waitable());
    return out;
}

}  // namespace korrin
