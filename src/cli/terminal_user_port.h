#pragma once
// UserPort for the command line: every text the main window shows in a box goes on its own
// line to standard output, progress to standard error. Questions are answered Yes by --yes,
// asked on a terminal, and otherwise answered No; a No makes the command exit 3.
#include <deque>
#include <iosfwd>
#include <mutex>
#include <string>

#include "session/user_port.h"

namespace quorvane::cli {

class TerminalUserPort : public UserPort {
  public:
    // interactive: standard input is a terminal the questions can be asked on. messagesToErr:
    // notices and messages go to err, leaving out to a machine-readable document.
    TerminalUserPort(std::ostream& out, std::ostream& err, bool yes, bool interactive,
                     bool messagesToErr = false);

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
    // Progress redrawn on one line (standard error is a terminal) instead of a line each.
    void setProgressLine(bool on) { progressLine_ = on; }
    // True once any question was answered No or Cancel.
    bool answeredNo() const;

  private:
    Answer ask(const std::string& text, bool withCancel);
    std::optional<std::string> nextFile();
    void endProgressLine();

    mutable std::mutex mutex_;
    std::ostream& err_;
    std::ostream& messages_;
    bool yes_;
    bool interactive_;
    bool answeredNo_ = false;
    bool progressLine_ = false;
    bool lineOpen_ = false;
    std::deque<std::string> files_;
};

} // namespace quorvane::cli
