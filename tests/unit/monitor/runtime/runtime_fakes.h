// Test doubles of the runtime seams: a fake clock that only moves when a wait
// asks it to, an input sink that records each event with its time, window
// timers driven by the fake clock and a small key translation table.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "monitor/runtime/runtime_ports.h"

namespace runtime::test {

class FakeClock : public Clock {
  public:
    std::int64_t NowUs() override { return now_; }
    void SleepUntilUs(std::int64_t deadline) override {
        // Actions scheduled inside the wait run at their time (another thread's
        // stop request, for example).
        while (!pending_.empty() && pending_.begin()->first <= deadline) {
            auto it = pending_.begin();
            if (it->first > now_)
                now_ = it->first;
            auto fn = it->second;
            pending_.erase(it);
            fn();
        }
        if (deadline > now_)
            now_ = deadline;
    }
    void BeginPrecise() override { ++precise_; }
    void EndPrecise() override { --precise_; }
    void At(std::int64_t ms, std::function<void()> fn) { pending_.emplace(ms * 1000, fn); }
    void Set(std::int64_t us) { now_ = us; }
    int precise() const { return precise_; }

  private:
    std::int64_t now_ = 0;
    int precise_ = 0;
    std::multimap<std::int64_t, std::function<void()>> pending_;
};

struct InputEvent {
    enum Kind { Down, Up, ExtDown, ExtUp, Mouse } kind;
    std::uint32_t code;  // virtual key or mouse flags
    std::uint32_t data;
    std::int64_t us;
    bool operator==(const InputEvent& o) const {
        return kind == o.kind && code == o.code && data == o.data;
    }
};

inline std::string Describe(const InputEvent& e) {
    static const char* names[] = {"down", "up", "extdown", "extup", "mouse"};
    return std::string(names[e.kind]) + ":" + std::to_string(e.code) + "@" +
           std::to_string(e.us / 1000.0);
}

class RecordingInput : public InputSink {
  public:
    explicit RecordingInput(Clock& clock) : clock_(clock) {}
    void KeyDown(std::uint8_t v) override { Add(InputEvent::Down, v, 0); }
    void KeyUp(std::uint8_t v) override { Add(InputEvent::Up, v, 0); }
    void ExtendedKeyDown(std::uint8_t v) override { Add(InputEvent::ExtDown, v, 0); }
    void ExtendedKeyUp(std::uint8_t v) override { Add(InputEvent::ExtUp, v, 0); }
    void MouseButton(std::uint32_t f, std::uint32_t d) override { Add(InputEvent::Mouse, f, d); }

    std::vector<InputEvent> events;
    // "down:65 up:65 ..." without times, for sequence checks.
    std::string Keys() const {
        std::string s;
        for (const auto& e : events) {
            static const char* names[] = {"down", "up", "extdown", "extup", "mouse"};
            if (!s.empty())
                s += ' ';
            s += std::string(names[e.kind]) + ":" + std::to_string(e.code);
        }
        return s;
    }

  private:
    void Add(InputEvent::Kind k, std::uint32_t c, std::uint32_t d) {
        events.push_back({k, c, d, clock_.NowUs()});
    }
    Clock& clock_;
};

// Timers of the window, fired by RunUntil in time order.
class FakeTimers : public TimerControl {
  public:
    explicit FakeTimers(FakeClock& clock) : clock_(clock) {}
    void StartTimer(unsigned id, unsigned periodMs) override {
        active_[id] = {periodMs, clock_.NowUs() + periodMs * 1000LL};
        log.push_back("start " + std::to_string(id) + " " + std::to_string(periodMs));
    }
    void StopTimer(unsigned id) override {
        active_.erase(id);
        log.push_back("stop " + std::to_string(id));
    }
    bool Active(unsigned id) const { return active_.count(id) != 0; }
    // Fires due timers until the clock reaches ms; handler gets the timer id.
    void RunUntil(std::int64_t ms, const std::function<void(unsigned)>& handler) {
        const std::int64_t end = ms * 1000;
        for (;;) {
            unsigned id = 0;
            std::int64_t due = end + 1;
            for (const auto& [tid, t] : active_) {
                if (t.due < due) {
                    due = t.due;
                    id = tid;
                }
            }
            if (due > end)
                break;
            if (due > clock_.NowUs())
                clock_.Set(due);
            active_[id].due = due + active_[id].period * 1000LL;
            handler(id);
        }
        if (end > clock_.NowUs())
            clock_.Set(end);
    }
    std::vector<std::string> log;

  private:
    struct Timer {
        unsigned period;
        std::int64_t due;
    };
    FakeClock& clock_;
    std::map<unsigned, Timer> active_;
};

// Letters map to 'A'.., modifiers to their left/right keys, mouse codes to
// themselves; everything else has no row.
class TableKeys : public KeyTranslator {
  public:
    std::uint8_t VirtualKey(std::uint8_t code) override {
        if (code >= 4 && code <= 29)
            return static_cast<std::uint8_t>('A' + code - 4);
        static const std::uint8_t mods[8] = {0xA2, 0xA0, 0xA4, 0x5B, 0xA3, 0xA1, 0xA5, 0x5C};
        if (code >= 224 && code <= 231)
            return mods[code - 224];
        if (code >= 240 && code <= 244)
            return code;
        return 0;
    }
};

class RecordingDebug : public DebugOutput {
  public:
    void Write(const char* text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

}  // namespace runtime::test
