#pragma once
// Where every wait, time stamp and dated file name takes its time from. The tool runs on the
// system clock; tests hand in a clock they move themselves, so a five-second silent wait costs
// them nothing and "now" is a date they chose.
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>

namespace quorvane {

class Clock {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Duration = std::chrono::steady_clock::duration;

    virtual ~Clock() = default;
    // Monotonic time: deadlines of waits.
    virtual TimePoint now() const = 0;
    // Calendar time: set-time, {SYSTIME}, dated file names.
    virtual std::chrono::system_clock::time_point wallNow() const = 0;
    // With lock held on entry and on return, blocks on cv until ready() holds or this clock
    // reaches deadline, spending at most maxBlock of real time in the call (so that a caller
    // on a window's thread can pump events between calls). Returns ready().
    virtual bool waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                           TimePoint deadline, const std::function<bool()>& ready,
                           Duration maxBlock) = 0;
    // A pause that nothing ends early (pacing between batch steps).
    virtual void sleepFor(Duration d) = 0;

    // The local calendar time of wallNow().
    std::tm localTime() const;
    // wallNow() formatted with strftime in local time ("%Y%m%d").
    std::string format(const char* pattern) const;
};

class SystemClock final : public Clock {
  public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    std::chrono::system_clock::time_point wallNow() const override {
        return std::chrono::system_clock::now();
    }
    bool waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                   TimePoint deadline, const std::function<bool()>& ready,
                   Duration maxBlock) override;
    void sleepFor(Duration d) override;
};

// The clock of a program that was handed no other.
Clock& systemClock();

// Waits on cv (lock held) until ready(), the total time on clock, or cancel(); between slices
// of real time pump() runs with the lock released, so a window waiting on its own thread stays
// drawn. Without pump and cancel the wait is one block that ready() ends. Returns ready().
bool waitWithPump(Clock& clock, std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                  Clock::Duration total, const std::function<bool()>& ready,
                  const std::function<void()>& pump = {}, const std::function<bool()>& cancel = {});

} // namespace quorvane
