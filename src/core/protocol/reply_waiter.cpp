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
                      const std::function<bool()>& cancel) {
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + total;
    // Without a pump the wait is one sleep that the reply ends; with one, slices keep the
    // window's events flowing.
    const auto slice = (pump || cancel) ? std::chrono::milliseconds(10) : total;
    std::unique_lock l(m_);
    while (value_ == 0) {
        auto now = clock::now();
        if (now >= deadline) break;
        auto until = std::min(deadline, now + slice);
        cv_.wait_until(l, until, [this] { return value_ != 0; });
        if (value_ != 0) break;
        if (pump || cancel) {
            l.unlock();
            if (pump) pump();
            bool stop = cancel && cancel();
            l.lock();
            if (stop) break;
        }
    }
    return value_;
}

} // namespace quorvane
