#pragma once
// Armed by the configuration writes: when no reply disarms it before its time runs out, its
// text is shown once. The window polls it on its one-second timer.
#include <mutex>
#include <optional>
#include <string>

#include "infra/clock.h"

namespace quorvane {

class PendingReplyWatch {
  public:
    explicit PendingReplyWatch(Clock& clock = systemClock()) : clock_(clock) {}

    void arm(Clock::Duration after, std::string text) {
        std::lock_guard l(m_);
        deadline_ = clock_.now() + after;
        text_ = std::move(text);
        armed_ = true;
    }
    void disarm() {
        std::lock_guard l(m_);
        armed_ = false;
    }
    bool armed() const {
        std::lock_guard l(m_);
        return armed_;
    }
    // The text, once, when the time ran out without a reply.
    std::optional<std::string> poll() {
        std::lock_guard l(m_);
        if (!armed_ || clock_.now() < deadline_)
            return std::nullopt;
        armed_ = false;
        return text_;
    }

  private:
    Clock& clock_;
    mutable std::mutex m_;
    bool armed_ = false;
    Clock::TimePoint deadline_{};
    std::string text_;
};

} // namespace quorvane
