#include "terminal_user_port.h"

#include <ostream>

#include "platform/stop_signals.h"
#include "platform/terminal.h"

namespace quorvane::cli {

TerminalUserPort::TerminalUserPort(std::ostream& out, std::ostream& err, bool yes, bool interactive,
                                   bool messagesToErr)
    : err_(err), messages_(messagesToErr ? err : out), yes_(yes), interactive_(interactive),
      keepShown_(messagesToErr) {}

void TerminalUserPort::showNotice(const std::string& text) {
    std::lock_guard lock(mutex_);
    show(text);
}

void TerminalUserPort::showMessage(const std::string& text, const std::string&) {
    std::lock_guard lock(mutex_);
    show(text);
}

void TerminalUserPort::show(const std::string& text) {
    endProgressLine();
    messages_ << text << '\n' << std::flush;
    if (keepShown_)
        shown_.push_back(text);
}

std::vector<std::string> TerminalUserPort::shownTexts() const {
    std::lock_guard lock(mutex_);
    return shown_;
}

bool TerminalUserPort::askYesNo(const std::string& text) {
    return ask(text, false) == Answer::Yes;
}

Answer TerminalUserPort::askYesNoCancel(const std::string& text) {
    return ask(text, true);
}

Answer TerminalUserPort::ask(const std::string& text, bool withCancel) {
    std::lock_guard lock(mutex_);
    endProgressLine();
    if (yes_) {
        err_ << text << " yes\n" << std::flush;
        return Answer::Yes;
    }
    Answer answer = Answer::No;
    if (interactive_) {
        err_ << text << (withCancel ? " [y/n/c] " : " [y/n] ") << std::flush;
        auto line = platform::readInputLine();
        std::string a = line ? *line : std::string();
        if (a == "y" || a == "Y" || a == "yes" || a == "是")
            answer = Answer::Yes;
        else if (withCancel && (a == "c" || a == "C" || a == "cancel" || a == "取消"))
            answer = Answer::Cancel;
    } else {
        err_ << text << " no (not asked without a terminal; --yes answers yes)\n" << std::flush;
    }
    if (answer != Answer::Yes)
        answeredNo_ = true;
    return answer;
}

void TerminalUserPort::progress(const std::string& text, long done, long total) {
    std::lock_guard lock(mutex_);
    if (progress_)
        progress_->show(text, done, total);
}

void TerminalUserPort::showProgressOn(std::ostream& raw, ProgressLine::Mode mode, Clock& clock) {
    std::lock_guard lock(mutex_);
    progress_.emplace(raw, mode, clock);
}

void TerminalUserPort::endProgressLine() {
    if (progress_)
        progress_->close();
}

TerminalUserPort::~TerminalUserPort() {
    std::lock_guard lock(mutex_);
    endProgressLine();
}

std::optional<std::string> TerminalUserPort::pickOpenFile(const std::string&) {
    return nextFile();
}

std::optional<std::string> TerminalUserPort::pickSaveFile(const std::string&, const std::string&,
                                                          const std::string&) {
    return nextFile();
}

void TerminalUserPort::openDocument(const std::string& path, bool) {
    // Nothing is launched from the command line; the file's name says where the result is.
    std::lock_guard lock(mutex_);
    endProgressLine();
    err_ << path << '\n' << std::flush;
}

void TerminalUserPort::presetFile(std::string path) {
    std::lock_guard lock(mutex_);
    files_.push_back(std::move(path));
}

bool TerminalUserPort::answeredNo() const {
    std::lock_guard lock(mutex_);
    return answeredNo_;
}

std::optional<std::string> TerminalUserPort::nextFile() {
    std::lock_guard lock(mutex_);
    if (files_.empty())
        return std::nullopt;
    std::string f = std::move(files_.front());
    files_.pop_front();
    return f;
}

bool TerminalUserPort::cancelRequested() {
    return platform::stopSignalReceived();
}

} // namespace quorvane::cli
