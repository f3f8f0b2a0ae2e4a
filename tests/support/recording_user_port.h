#pragma once
// A UserPort for tests: records every message and answers questions from a script.
#include "session/user_port.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace quorvane::test {

class RecordingUserPort : public UserPort {
  public:
    void showNotice(const std::string& text) override { record(notices_, text); }
    void showMessage(const std::string& text, const std::string& = {}) override {
        record(messages_, text);
    }
    bool askYesNo(const std::string& text) override {
        record(questions_, text);
        return next() == Answer::Yes;
    }
    bool askYesNoDefaultNo(const std::string& text) override {
        record(defaultNoQuestions_, text);
        return askYesNo(text);
    }
    Answer askYesNoCancel(const std::string& text) override {
        record(questions_, text);
        return next();
    }
    void progress(const std::string& text, long, long) override { record(progress_, text); }
    std::optional<std::string> pickOpenFile(const std::string&) override { return nextFile(); }
    std::optional<std::string> pickSaveFile(const std::string&, const std::string&,
                                            const std::string&) override {
        return nextFile();
    }
    void openDocument(const std::string& path, bool) override { record(opened_, path); }
    void beginBusy() override {
        std::lock_guard l(m_);
        ++busyDepth_;
        ++busyCount_;
    }
    void endBusy() override {
        std::lock_guard l(m_);
        --busyDepth_;
    }
    void pumpEvents() override {}
    bool cancelRequested() override { return cancel_.load(); }
    // The person presses Cancel (from any thread).
    void requestCancel() { cancel_.store(true); }

    // Script: answers for questions (default No) and file picks (default cancel).
    void answer(Answer a) {
        std::lock_guard l(m_);
        answers_.push_back(a);
    }
    void file(std::optional<std::string> f) {
        std::lock_guard l(m_);
        files_.push_back(std::move(f));
    }

    std::vector<std::string> notices() const { return copy(notices_); }
    std::vector<std::string> messages() const { return copy(messages_); }
    std::vector<std::string> questions() const { return copy(questions_); }
    // The questions asked with No as the default button (also in questions()).
    std::vector<std::string> defaultNoQuestions() const { return copy(defaultNoQuestions_); }
    std::vector<std::string> progressTexts() const { return copy(progress_); }
    std::vector<std::string> opened() const { return copy(opened_); }
    int busyDepth() const {
        std::lock_guard l(m_);
        return busyDepth_;
    }
    int busyCount() const {
        std::lock_guard l(m_);
        return busyCount_;
    }

  private:
    void record(std::vector<std::string>& v, const std::string& t) {
        std::lock_guard l(m_);
        v.push_back(t);
    }
    std::vector<std::string> copy(const std::vector<std::string>& v) const {
        std::lock_guard l(m_);
        return v;
    }
    Answer next() {
        std::lock_guard l(m_);
        if (answers_.empty())
            return Answer::No;
        Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    std::optional<std::string> nextFile() {
        std::lock_guard l(m_);
        if (files_.empty())
            return std::nullopt;
        auto f = files_.front();
        files_.pop_front();
        return f;
    }

    mutable std::mutex m_;
    std::vector<std::string> notices_, messages_, questions_, defaultNoQuestions_, progress_,
        opened_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> files_;
    int busyDepth_ = 0;
    int busyCount_ = 0;
    std::atomic<bool> cancel_{false};
};

} // namespace quorvane::test
