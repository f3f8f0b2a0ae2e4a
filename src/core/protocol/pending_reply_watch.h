#pragma once
// A countdown armed by the configuration writes: when no reply disarms it within its ticks
// (one a second on the window's timer), its text is shown.
#include <mutex>
#include <optional>
#include <string>

namespace quorvane {

class PendingReplyWatch {
public:
    void arm(int ticks, std::string text) {
        std::lock_guard l(m_);
        countdown_ = ticks;
        text_ = std::move(text);
    }
    void disarm() {
        std::lock_guard l(m_);
        countdown_ = 0;
    }
    // One tick; the text when the countdown runs out on this tick.
    std::optional<std::string> tick() {
        std::lock_guard l(m_);
        if (countdown_ <= 0) return std::nullopt;
        if (--countdown_ == 0) return text_;
        return std::nullopt;
    }
    int countdown() const {
        std::lock_guard l(m_);
        return countdown_;
    }

private:
    mutable std::mutex m_;
    int countdown_ = 0;
    std::string text_;
};

} // namespace quorvane
