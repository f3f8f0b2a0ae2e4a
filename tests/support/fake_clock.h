#pragma once
// A clock that tests move. A wait that its condition does not end within `grace` of real time
// jumps the clock to the wait's deadline: a silent five-second wait costs grace, not 5 s. An
// in-process peer that answers synchronously needs no grace; a real program over a socket needs
// enough to answer (a few milliseconds on loopback). Under a sanitizer everything runs several
// times slower: $QUORVANE_TEST_SLOWDOWN (a whole number, 1 when unset) multiplies the grace.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "infra/clock.h"

namespace quorvane::test {

class FakeClock final : public Clock {
  public:
    explicit FakeClock(std::chrono::milliseconds grace = std::chrono::milliseconds(0),
                       std::chrono::system_clock::time_point wall =
                           std::chrono::system_clock::from_time_t(1780000000))
        : grace_(grace * slowdown()), wallStart_(wall) {}

    TimePoint now() const override { return TimePoint(Duration(ticks_.load())); }
    std::chrono::system_clock::time_point wallNow() const override {
        return wallStart_ +
               std::chrono::duration_cast<std::chrono::system_clock::duration>(elapsed());
    }
    bool waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                   TimePoint deadline, const std::function<bool()>& ready, Duration) override {
        if (cv.wait_for(lock, grace_, ready))
            return true;
        advanceTo(deadline);
        return false;
    }
    void sleepFor(Duration d) override {
        {
            std::lock_guard lock(sleepsMutex_);
            sleeps_.push_back(d);
        }
        advance(d);
    }
    // The pauses an operation took, in order: unlike elapsed() they do not include the waits a
    // slow peer made the clock jump over.
    std::vector<Duration> sleeps() const {
        std::lock_guard lock(sleepsMutex_);
        return sleeps_;
    }

    void advance(Duration d) { ticks_.fetch_add(d.count()); }
    // Time this clock has moved since it was made.
    Duration elapsed() const { return Duration(ticks_.load()); }

  private:
    static int slowdown() {
        const char* text = std::getenv("QUORVANE_TEST_SLOWDOWN");
        const int n = text ? std::atoi(text) : 1;
        return n >= 1 && n <= 100 ? n : 1;
    }
    void advanceTo(TimePoint t) {
        auto target = t.time_since_epoch().count();
        auto cur = ticks_.load();
        while (cur < target && !ticks_.compare_exchange_weak(cur, target)) {
        }
    }
    std::chrono::milliseconds grace_;
    std::chrono::system_clock::time_point wallStart_;
    std::atomic<Duration::rep> ticks_{0};
    mutable std::mutex sleepsMutex_;
    std::vector<Duration> sleeps_;
};

} // namespace quorvane::test
