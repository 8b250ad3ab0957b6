#include "monitor/runtime/macro_player.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/trace_points.h"

namespace runtime {

bool IsMouseButtonCode(std::uint8_t code) {
    return code >= 240 && code <= 244;
}

void MouseButtonEvent(std::uint8_t code, bool down, std::uint32_t& flags, std::uint32_t& data) {
    // Codes 240..244 in turn.
    static constexpr MouseButtonFlags kCodeButtons[] = {
        mouse_button::kLeft, mouse_button::kRight, mouse_button::kMiddle,
        mouse_button::kX2,   mouse_button::kX1,
    };
    if (!IsMouseButtonCode(code)) {
        flags = 0;
        data = 0;
        return;
    }
    const MouseButtonFlags& button = kCodeButtons[code - 240];
    flags = down ? button.down : button.up;
    data = button.data;
}

MacroStart MacroPlayer::StartOrStop(const settings::ButtonAssignment& record) {
    if (record.eventCount == 0)
        return MacroStart::Ignored;
    if (active_.load()) {
        // The buffer belongs to the playing macro; it is left alone and the
        // press only stops the playback.
        stopRequest_.store(true);
        return MacroStart::StopRequested;
    }
    std::memcpy(buffer_, record.events, sizeof buffer_);
    repeat_.store(record.repeatCount < 1 ? 1 : record.repeatCount);
    eventCount_.store(std::min<int>(record.eventCount, settings::kMaxMacroEvents));
    stopRequest_.store(false);
    abandon_.store(false);
    curAction_.store(0);
    active_.store(true);
    return MacroStart::Queued;
}

void MacroPlayer::WaitFrom(std::int64_t markUs, int ms) {
    const std::int64_t deadline = markUs + ms * 1000LL;
    const std::int64_t checkUs = kAbandonCheckMs * 1000LL;
    // Short waits (the macro's usual pace) go in one piece, as timed as ever.
    if (deadline - clock_.NowUs() <= checkUs) {
        if (!abandon_.load())
            clock_.SleepUntilUs(deadline);
        return;
    }
    while (!abandon_.load()) {
        const std::int64_t now = clock_.NowUs();
        if (now >= deadline)
            return;
        clock_.SleepUntilUs(std::min(deadline, now + checkUs));
    }
}

void MacroPlayer::CancelQueued() {
    active_.store(false);
}

void MacroPlayer::PlayQueued() {
    active_.store(true);
    running_.store(true);
    Play(curAction_.load(), eventCount_.load(), repeat_.load());
    running_.store(false);
    active_.store(false);
}

void MacroPlayer::Play(int start, int end, int repeat) {
    start = std::max(start, 0);
    end = std::min(end, settings::kMaxMacroEvents);
    if (end - start <= 0)
        return;
    clock_.BeginPrecise();
    std::vector<std::uint8_t> held;
    bool stopped = false;
    for (int rep = 0; rep < repeat && !stopped; ++rep) {
        for (int j = start; j < end; ++j) {
            curAction_.store(j);
            if (StopRequested()) {
                stopped = true;
                break;
            }
            const settings::MacroEvent ev = buffer_[j];
            const std::uint8_t code = ev.keyCode;
            const auto state = static_cast<settings::KeyState>(ev.state);
            const bool press = state == settings::KeyState::Press;
            const bool release = state == settings::KeyState::Release;
            const int delay = ev.delayMs == 0 ? 1 : ev.delayMs;
            if (press) {
                held.push_back(code);
            } else if (release) {
                auto it = std::find(held.rbegin(), held.rend(), code);
                if (it != held.rend())
                    held.erase(std::next(it).base());
            }
            if (IsMouseButtonCode(code)) {
                if (press || release) {
                    std::uint32_t flags = 0;
                    std::uint32_t data = 0;
                    MouseButtonEvent(code, press, flags, data);
                    input_.MouseButton(flags, data);
                }
                WaitFrom(clock_.NowUs(), delay);
                continue;
            }
            if (!press && !release) {
                // Not written by the recorder; treated as a pause.
                WaitFrom(clock_.NowUs(), delay);
                continue;
            }
            const std::uint8_t v = GenericModifier(keys_.VirtualKey(code));
            if (release) {
                input_.KeyUp(v);
                WaitFrom(clock_.NowUs(), delay);
                continue;
            }
            input_.KeyDown(v);
            const std::int64_t mark = clock_.NowUs();
            if (delay <= kLongHoldMs) {
                WaitFrom(mark, delay);
                continue;
            }
            WaitFrom(mark, kLongHoldMs);
            // One pair per full step of the remaining time; the hold then runs
            // out to the event's whole delay, which is a minimum.
            bool cut = false;
            for (int remaining = delay - kLongHoldMs; remaining > kLongHoldStepMs;
                 remaining -= kLongHoldStepMs) {
                input_.KeyUp(v);
                input_.KeyDown(v);
                const std::int64_t step = clock_.NowUs();
                if (StopRequested()) {
                    cut = true;
                    break;
                }
                WaitFrom(step, kLongHoldStepMs);
            }
            if (!cut)
                WaitFrom(mark, delay);
        }
        if (StopRequested())
            stopped = true;
    }
    char text[96];
    std::snprintf(text, sizeof text, trace::kMacroStep, curAction_.load(), start, end);
    debug_.Write(text);
    if (stopped)
        ReleaseHeld(held, start);
    clock_.EndPrecise();
}

// Every key the stopped macro still holds is let go, most recent first. All
// of them, not only as many as events were played in the current repetition:
// keys pressed in an earlier repetition would otherwise stay down.
void MacroPlayer::ReleaseHeld(std::vector<std::uint8_t>& held, int start) {
    while (!held.empty()) {
        const std::uint8_t code = held.back();
        held.pop_back();
        if (curAction_.load() > start)
            curAction_.store(curAction_.load() - 1);
        if (IsMouseButtonCode(code)) {
            std::uint32_t flags = 0;
            std::uint32_t data = 0;
            MouseButtonEvent(code, false, flags, data);
            input_.MouseButton(flags, data);
        } else {
            input_.KeyUp(GenericModifier(keys_.VirtualKey(code)));
        }
        WaitFrom(clock_.NowUs(), kStopReleaseMs);
    }
}

}  // namespace runtime
