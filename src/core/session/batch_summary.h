#pragma once
// What a batch came to, as the person reads it at its end: one text that says how many items
// went through, failed or got no answer, whether the person stopped it, where the list of the
// items that did not go through was written, and how long it took. Every batch of the window
// (rights, configuration copy, memory, text runs) ends with it, so a run that opens no viewer
// or ends in silence still ends with a result.
#include <string>
#include <vector>

#include "infra/clock.h"

namespace quorvane {

struct BatchSummary {
    std::string operation; // "添加权限", "复制配置" …
    long total = 0;        // items in the batch
    long succeeded = 0;
    long failed = 0;     // refused by the controller, or not sendable
    long unanswered = 0; // sent and never answered
    bool cancelled = false;
    // Where the items that did not go through were listed; empty: no list was written.
    std::string failureFile;
    // One line per item where items have names of their own (the targets of a copy).
    std::vector<std::string> itemLines;
    Clock::Duration elapsed{};

    long handled() const { return succeeded + failed + unanswered; }
};

// "操作成功！" when every item went through, "操作失败！" when none did, "操作部分成功！" between,
// "操作已取消！" after a cancel; then the counts, the item lines, the failure list and the time.
std::string batchSummaryText(const BatchSummary& summary);

// The time a batch has taken, on the session's clock (a test's clock moves by itself).
class BatchStopwatch {
  public:
    explicit BatchStopwatch(const Clock& clock) : clock_(clock), start_(clock.now()) {}
    Clock::Duration elapsed() const { return clock_.now() - start_; }

  private:
    const Clock& clock_;
    Clock::TimePoint start_;
};

} // namespace quorvane
