#include "progress_line.h"

#include <cstdio>
#include <ostream>
#include <sstream>

#include "terminal_text.h"

namespace quorvane::cli {

namespace {
constexpr auto kShowEvery = std::chrono::milliseconds(250);

// Progress texts may carry names from controllers: they pass the terminal filter like every
// other text; only the line's own carriage return and erase bypass it.
std::string filtered(const std::string& text) {
    std::ostringstream target;
    {
        TerminalTextFilter filter(target.rdbuf());
        std::ostream(&filter) << text << std::flush;
    }
    return target.str();
}
} // namespace

ProgressLine::ProgressLine(std::ostream& raw, Mode mode, Clock& clock)
    : raw_(raw), mode_(mode), clock_(clock) {}

void ProgressLine::show(const std::string& text, long done, long total) {
    if (mode_ == Mode::Off)
        return;
    const auto now = clock_.now();
    // A count that starts again or another total is the next run.
    const bool newRun = done < lastDone_ || total != lastTotal_;
    if (newRun)
        runStart_ = now;
    lastDone_ = done;
    lastTotal_ = total;
    const bool last = total > 0 && done >= total;
    if (shownAny_ && !newRun && !last && now - lastShown_ < kShowEvery)
        return;
    shownAny_ = true;
    lastShown_ = now;
    std::string line = compose(text, done, total, now);
    if (mode_ == Mode::InPlace) {
        // Carriage return, the line, erase to its end: one write per update.
        raw_ << ('\r' + line + "\x1b[K") << std::flush;
        open_ = true;
    } else {
        raw_ << (line + '\n') << std::flush;
    }
}

void ProgressLine::close() {
    if (!open_)
        return;
    raw_ << '\n' << std::flush;
    open_ = false;
}

std::string ProgressLine::compose(const std::string& text, long done, long total,
                                  Clock::TimePoint now) const {
    std::string line = filtered(text);
    if (total <= 0)
        return line;
    char count[96];
    // A rate over less than one update interval says nothing yet.
    const auto elapsed = now - runStart_;
    const double seconds = std::chrono::duration<double>(elapsed).count();
    int n = std::snprintf(count, sizeof count, "  %ld%% %ld/%ld", done * 100 / total, done, total);
    if (elapsed >= kShowEvery && done > 0)
        std::snprintf(count + n, sizeof count - static_cast<std::size_t>(n), " %.0f/s",
                      static_cast<double>(done) / seconds);
    return line + count;
}

} // namespace quorvane::cli
