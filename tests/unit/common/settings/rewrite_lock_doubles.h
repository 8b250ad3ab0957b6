// Doubles for the rewrite lock: a lock that records who holds it (and can play
// another writer finishing its rewrite while this one waits), and a store that
// logs every file operation into the same record, so that tests can see what
// happened inside the lock and what outside.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/settings/ini_engine.h"
#include "common/settings/ini_rewrite_lock.h"

namespace testing_files {

class RecordingRewriteLock final : public settings::IniRewriteLock {
  public:
    explicit RecordingRewriteLock(std::vector<std::string>& log) : log_(log) {}

    bool grant = true;
    // Runs while the caller waits, before the lock is granted.
    std::function<void(const std::string& path)> whileWaiting;
    std::set<std::string> held;
    int acquired = 0;

    std::unique_ptr<Hold> Acquire(const std::string& path) override {
        log_.push_back("lock " + path);
        if (whileWaiting)
            whileWaiting(path);
        if (!grant)
            return nullptr;
        if (!held.insert(path).second)
            ADD_FAILURE() << "lock of " << path << " taken twice";
        ++acquired;
        return std::make_unique<Held>(*this, path);
    }

  private:
    class Held final : public Hold {
      public:
        Held(RecordingRewriteLock& lock, std::string path) : lock_(lock), path_(std::move(path)) {}
        ~Held() override {
            lock_.held.erase(path_);
            lock_.log_.push_back("unlock " + path_);
        }

      private:
        RecordingRewriteLock& lock_;
        std::string path_;
    };

    std::vector<std::string>& log_;
};

// Forwards to another store and logs each operation.
class LoggingStore final : public settings::TextFileStore {
  public:
    LoggingStore(settings::TextFileStore& inner, std::vector<std::string>& log)
        : inner_(inner), log_(log) {}

    bool ReadAll(const std::string& path, std::string& bytes) override {
        log_.push_back("read " + path);
        return inner_.ReadAll(path, bytes);
    }
    bool WriteAll(const std::string& path, const std::string& bytes) override {
        log_.push_back("write " + path);
        return inner_.WriteAll(path, bytes);
    }
    bool Exists(const std::string& path) override {
        log_.push_back("exists " + path);
        return inner_.Exists(path);
    }
    bool Rename(const std::string& from, const std::string& to) override {
        log_.push_back("rename " + from + " " + to);
        return inner_.Rename(from, to);
    }
    void Remove(const std::string& path) override {
        log_.push_back("remove " + path);
        inner_.Remove(path);
    }

  private:
    settings::TextFileStore& inner_;
    std::vector<std::string>& log_;
};

}  // namespace testing_files
