#include "infra/clock.h"

#include <thread>

namespace quorvane {

namespace {
// How long a waiting window's thread goes without drawing.
constexpr auto kPumpSlice = std::chrono::milliseconds(10);
} // namespace

std::tm Clock::localTime() const {
    std::time_t t = std::chrono::system_clock::to_time_t(wallNow());
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

std::string Clock::format(const char* pattern) const {
    std::tm tm = localTime();
    char buf[128];
    std::size_t n = std::strftime(buf, sizeof buf, pattern, &tm);
    return std::string(buf, n);
}

bool SystemClock::waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                            TimePoint deadline, const std::function<bool()>& ready,
                            Duration maxBlock) {
    auto until = std::min(deadline, now() + maxBlock);
    return cv.wait_until(lock, until, ready);
}

void SystemClock::sleepFor(Duration d) {
    std::this_thread::sleep_for(d);
}

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

bool waitWithPump(Clock& clock, std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                  Clock::Duration total, const std::function<bool()>& ready,
                  const std::function<void()>& pump, const std::function<bool()>& cancel) {
    const auto deadline = clock.now() + total;
    const bool sliced = pump || cancel;
    const Clock::Duration block = sliced ? Clock::Duration(kPumpSlice) : total;
    while (!ready()) {
        if (clock.now() >= deadline)
            return false;
        if (clock.waitUntil(lock, cv, deadline, ready, block))
            return true;
        if (!sliced)
            continue;
        lock.unlock();
        if (pump)
            pump();
        bool stop = cancel && cancel();
        lock.lock();
        if (stop)
            return ready();
    }
    return true;
}

} // namespace quorvane
