#pragma once
// A reply flag that a waiting operation sleeps on. The reply handler sets it and wakes the
// waiter at once; the wait gives up after its total time on the given clock.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "infra/clock.h"

namespace quorvane {

class ReplyWaiter {
  public:
    void set(int value = 1);
    void clear();
    int value() const;
    // Waits until the value is not 0 or total has passed. pump (when given) runs between
    // short slices so that a window stays responsive while its own thread waits; cancel (when
    // given) ends the wait early. Returns the value (0 on timeout).
    int wait(std::chrono::milliseconds total, const std::function<void()>& pump = {},
             const std::function<bool()>& cancel = {}, Clock& clock = systemClock());

  private:
    mutable std::mutex m_;
    std::condition_variable cv_;
    int value_ = 0;
};

} // namespace quorvane
