#pragma once
// The progress of a long run as the command line shows it: on a terminal one line rewritten in
// place, elsewhere (with --progress) one line per update, and nowhere otherwise. Updates come
// at most four times a second, the first and the last step of a run always: a line per card
// once cost more than the run itself.
#include <iosfwd>
#include <string>

#include "infra/clock.h"

namespace quorvane::cli {

class ProgressLine {
  public:
    enum class Mode { Off, InPlace, Lines };

    // raw: standard error without the terminal filter (the line's own texts pass one).
    ProgressLine(std::ostream& raw, Mode mode, Clock& clock);

    // text as the operation words it; done of total items (total 0: no count).
    void show(const std::string& text, long done, long total);
    // Ends a line rewritten in place, so that what is written next starts a line of its own.
    void close();

  private:
    std::string compose(const std::string& text, long done, long total, Clock::TimePoint now) const;

    std::ostream& raw_;
    Mode mode_;
    Clock& clock_;
    bool open_ = false;
    bool shownAny_ = false;
    Clock::TimePoint lastShown_{};
    Clock::TimePoint runStart_{};
    long lastDone_ = -1;
    long lastTotal_ = -1;
};

} // namespace quorvane::cli
