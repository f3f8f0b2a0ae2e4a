#pragma once
// A value that a test thread waits for while a receive thread or a callback sets it: the wait
// ends the moment it is set, or after its limit of real time.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace quorvane::test {

class ValueWaiter {
  public:
    void set(int value = 1) {
        {
            std::lock_guard l(m_);
            value_ = value;
        }
        cv_.notify_all();
    }
    void clear() {
        std::lock_guard l(m_);
        value_ = 0;
    }
    // The value once it is not 0, or 0 when limit passed first.
    int wait(std::chrono::milliseconds limit) {
        std::unique_lock l(m_);
        cv_.wait_for(l, limit, [this] { return value_ != 0; });
        return value_;
    }

  private:
    std::mutex m_;
    std::condition_variable cv_;
    int value_ = 0;
};

} // namespace quorvane::test
