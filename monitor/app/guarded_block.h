// Monitor's private settings block and the lock that lets the upload thread
// copy it while the window thread owns it. Only the window thread changes or
// replaces the block, under the lock, and reads it without the lock; each
// upload job works from its own copy taken under the lock. The lock is held
// for the change or the copy and nothing else: never across a message, a
// system call that notifies other programs, or the shared section's mutex, so
// that no other program can stall an upload or the window thread through it.
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <mutex>

#include "common/settings/settings_block.h"

namespace monitor {

class GuardedBlock {
  public:
    GuardedBlock() : block_(std::make_unique<settings::SettingsBlock>()) {
        std::memset(block_.get(), 0, sizeof *block_);
    }

    // Window thread: reads without the lock (no other thread writes).
    const settings::SettingsBlock& Get() const { return *block_; }
    // Window thread, without the lock: loading before the upload thread
    // exists, and nothing else (every later change goes through Change).
    settings::SettingsBlock& Unguarded() { return *block_; }

    // Window thread.
    void Change(const std::function<void(settings::SettingsBlock&)>& change) {
        Guard lock(lock_);
        change(*block_);
    }
    // Window thread: `incoming` becomes the block, the old block goes back in
    // its place (so that the next fetch needs no allocation).
    void SwapIn(std::unique_ptr<settings::SettingsBlock>& incoming) {
        Guard lock(lock_);
        std::swap(block_, incoming);
    }
    // Upload thread.
    void CopyTo(settings::SettingsBlock& into) {
        Guard lock(lock_);
        into = *block_;
    }

  private:
    using Guard = std::lock_guard<std::mutex>;
    std::unique_ptr<settings::SettingsBlock> block_;
    std::mutex lock_;
};

}  // namespace monitor
