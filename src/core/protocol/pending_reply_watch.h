#pragma once
// Armed by the configuration writes and the window's one-shot commands, which send without
// waiting: when no reply disarms it before its time runs out, its text is shown once, so a
// command to a silent controller does not end in silence. The window polls it on its
// one-second timer.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "infra/clock.h"
#include "protocol/frame.h"

namespace quorvane {

class PendingReplyWatch {
  public:
    explicit PendingReplyWatch(Clock& clock = systemClock()) : clock_(clock) {}

    // replyCode: a reply of this code (or the general error reply) disarms it as it arrives;
    // without one only disarm() does.
    void arm(Clock::Duration after, std::string text,
             std::optional<std::uint8_t> replyCode = std::nullopt) {
        std::lock_guard l(m_);
        deadline_ = clock_.now() + after;
        text_ = std::move(text);
        replyCode_ = replyCode;
        armed_ = true;
    }
    // Told of every valid reply that arrives.
    void answered(std::uint8_t code) {
        std::lock_guard l(m_);
        if (replyCode_ && (code == *replyCode_ || code == kErrorReply))
            armed_ = false;
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
    std::optional<std::uint8_t> replyCode_;
};

} // namespace quorvane
