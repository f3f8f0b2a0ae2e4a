#include "protocol/reply_waiter.h"

namespace quorvane {

void ReplyWaiter::set(int value) {
    {
        std::lock_guard l(m_);
        value_ = value;
    }
    cv_.notify_all();
}

void ReplyWaiter::clear() {
    std::lock_guard l(m_);
    value_ = 0;
}

int ReplyWaiter::value() const {
    std::lock_guard l(m_);
    return value_;
}

int ReplyWaiter::wait(std::chrono::milliseconds total, const std::function<void()>& pump,
                      const std::function<bool()>& cancel, Clock& clock) {
    std::unique_lock l(m_);
    waitWithPump(
        clock, l, cv_, total, [this] { return value_ != 0; }, pump, cancel);
    return value_;
}

} // namespace quorvane
