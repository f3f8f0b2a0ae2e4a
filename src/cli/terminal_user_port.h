#pragma once
// UserPort for the command line: every text the main window shows in a box goes on its own
// line to standard output, progress to standard error. Questions are answered Yes by --yes,
// asked on a terminal, and otherwise answered No; a No makes the command exit 3.
#include <deque>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "progress_line.h"

#include "session/user_port.h"

namespace quorvane::cli {

class TerminalUserPort : public UserPort {
  public:
    // interactive: standard input is a terminal the questions can be asked on. messagesToErr:
    // notices and messages go to err, leaving out to a machine-readable document, and are
    // kept for it.
    TerminalUserPort(std::ostream& out, std::ostream& err, bool yes, bool interactive,
                     bool messagesToErr = false);
    ~TerminalUserPort() override;
    TerminalUserPort(const TerminalUserPort&) = delete;
    TerminalUserPort& operator=(const TerminalUserPort&) = delete;

    void showNotice(const std::string& text) override;
    void showMessage(const std::string& text, const std::string& title = {}) override;
    bool askYesNo(const std::string& text) override;
    Answer askYesNoCancel(const std::string& text) override;
    void progress(const std::string& text, long done = 0, long total = 0) override;
    std::optional<std::string> pickOpenFile(const std::string& filter) override;
    std::optional<std::string> pickSaveFile(const std::string& defaultExt,
                                            const std::string& filter,
                                            const std::string& defaultName = {}) override;
    void openDocument(const std::string& path, bool wait) override;
    void beginBusy() override {}
    void endBusy() override {}
    void pumpEvents() override {}
    // Ctrl-C or SIGTERM, once the command line catches them.
    bool cancelRequested() override;

    // A command names its files as arguments; the operation's file pick then returns them in
    // order. Without one, a pick is cancelled.
    void presetFile(std::string path);
    // The notices and messages shown so far, in order (kept with messagesToErr only).
    std::vector<std::string> shownTexts() const;
    // True once any question was answered No or Cancel.
    bool answeredNo() const;
    // Progress goes to raw as mode says; without this call it is not shown.
    void showProgressOn(std::ostream& raw, ProgressLine::Mode mode, Clock& clock);

  private:
    Answer ask(const std::string& text, bool withCancel);
    // With the mutex held: a progress line rewritten in place is ended before other output.
    void endProgressLine();
    // With the mutex held: a notice or message on its own line.
    void show(const std::string& text);
    std::optional<std::string> nextFile();

    mutable std::mutex mutex_;
    std::ostream& err_;
    std::ostream& messages_;
    bool yes_;
    bool interactive_;
    bool answeredNo_ = false;
    std::deque<std::string> files_;
    bool keepShown_;
    std::vector<std::string> shown_;
    std::optional<ProgressLine> progress_;
};

} // namespace quorvane::cli
