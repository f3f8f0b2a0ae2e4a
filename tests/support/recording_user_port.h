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
        return next(answers_, Answer::No) == Answer::Yes;
    }
    bool askYesNoDefaultNo(const std::string& text) override {
        record(defaultNoQuestions_, text);
        return askYesNo(text);
    }
    Answer askYesNoCancel(const std::string& text) override {
        record(questions_, text);
        return next(answers_, Answer::No);
    }
    void progress(const std::string& text, long, long) override { record(progress_, text); }
    std::optional<std::string> pickOpenFile(const std::string&) override { return next(files_); }
    std::optional<std::string> pickSaveFile(const std::string&, const std::string&,
                                            const std::string&) override {
        return next(files_);
    }
    void openDocument(const std::string& path, bool) override { record(opened_, path); }
    void beginBusy() override {
        ++busyDepth_;
        ++busyCount_;
    }
    void endBusy() override { --busyDepth_; }
    void pumpEvents() override {}
    bool cancelRequested() override { return cancel_.load(); }
    // The person presses Cancel (from any thread).
    void requestCancel() { cancel_.store(true); }

    // Script: answers for questions (default No) and file picks (default cancel).
    void answer(Answer a) { record(answers_, a); }
    void file(std::optional<std::string> f) { record(files_, std::move(f)); }

    std::vector<std::string> notices() const { return copy(notices_); }
    std::vector<std::string> messages() const { return copy(messages_); }
    std::vector<std::string> questions() const { return copy(questions_); }
    // The questions asked with No as the default button (also in questions()).
    std::vector<std::string> defaultNoQuestions() const { return copy(defaultNoQuestions_); }
    std::vector<std::string> progressTexts() const { return copy(progress_); }
    std::vector<std::string> opened() const { return copy(opened_); }
    int busyDepth() const { return busyDepth_; }
    int busyCount() const { return busyCount_; }

  private:
    template <class C, class T> void record(C& list, T item) {
        std::lock_guard l(m_);
        list.push_back(std::move(item));
    }
    std::vector<std::string> copy(const std::vector<std::string>& v) const {
        std::lock_guard l(m_);
        return v;
    }
    // The next scripted answer, or the default when the script has run out.
    template <class T> T next(std::deque<T>& script, T otherwise = {}) {
        std::lock_guard l(m_);
        if (script.empty())
            return otherwise;
        T first = std::move(script.front());
        script.pop_front();
        return first;
    }

    mutable std::mutex m_;
    std::vector<std::string> notices_, messages_, questions_, defaultNoQuestions_, progress_,
        opened_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> files_;
    std::atomic<int> busyDepth_{0}, busyCount_{0};
    std::atomic<bool> cancel_{false};
};

} // namespace quorvane::test
