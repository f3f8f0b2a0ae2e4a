#pragma once
// The text that record and identity replies leave for the fetch that asked for them: one line
// per reply, appended by the reply handler on the receive thread (or the pipe worker) and
// read by the fetch on its own thread once its wait is over.
#include <atomic>
#include <mutex>
#include <string>

namespace quorvane {

class ReplyTextBuffer {
  public:
    // Empties the text and sets the counters back to nothing arrived.
    void clear();
    // One reply's line; a line feed follows it.
    void append(const std::string& line);
    std::string text() const;
    bool arrived() const { return arrived_.load(); }
    long replies() const { return replies_.load(); }

  private:
    mutable std::mutex m_;
    std::string text_;
    std::atomic<bool> arrived_{false};
    std::atomic<long> replies_{0};
};

} // namespace quorvane
