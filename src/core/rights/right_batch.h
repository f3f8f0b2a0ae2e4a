#pragma once
// The loop that adds, removes or checks a list of cards on one controller: one request per
// card on the session's batch runner, each asked up to four times; cards the controller did
// not confirm go to the operation's failure file, which opens when the loop ends; an add
// writes each right the controller took to the daily grant log. Reply notices stay off for a
// list of several cards, which ends with one summary (session/batch_summary.h); a single card
// speaks through its reply's notice, and through the summary only when no reply could.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "model/device_info.h"

namespace quorvane {

class ToolSession;

enum class RightBatchKind { Add, Remove, Check };

// One card of the list: its text as listed (the failure file and the grant log show it) and
// the payload of its request; an empty payload marks a text that is not a card, which is not
// sent and counts as failed.
struct RightItem {
    std::string card; // UTF-8
    std::vector<std::uint8_t> payload;
};

// Why a card of the list did not go through.
enum class RightFailure {
    NotACard,   // its text is no card: never sent
    Refused,    // the controller answered with a failure
    Unanswered, // no reply within the limits
    NotSent,    // the person stopped the list before it
};

struct RightBatchResult {
    int rc = -1; // 0 when every card of the list went through, else -1
    long cards = 0;
    long done = 0;                       // cards the controller confirmed (a check: passed)
    std::vector<std::string> failed;     // the others, in list order
    std::vector<RightFailure> failedWhy; // why, for each of `failed`
    long resends = 0;
    bool cancelled = false;
    std::string failureFile; // full path, when `failed` was written
    std::string summary;     // the text of the batch's end (batchSummaryText)

    // Of `failed`: refused by the controller or not a card.
    long refused() const {
        return whyCount(RightFailure::Refused) + whyCount(RightFailure::NotACard);
    }
    // Of `failed`: sent and never answered.
    long unanswered() const { return whyCount(RightFailure::Unanswered); }

  private:
    long whyCount(RightFailure why) const {
        return static_cast<long>(std::count(failedWhy.begin(), failedWhy.end(), why));
    }
};

struct RightBatchOptions {
    // Shows the summary and opens the failure list; a copy to several targets shows one
    // summary of its own instead.
    bool report = true;
    // Added to the failure list's name before ".txt" ("-127.0.0.2"): the targets of a copy
    // keep a list each instead of replacing one another's.
    std::string failureFileTag;
};

// The request code and texts of each kind: 18 and "正在添加权限(%d/%d,超时%d)", 20 and
// "正在删除权限…", 22 and "正在检查权限…".
RightBatchResult runRightBatch(ToolSession& session, const DeviceUIInfo& device,
                               RightBatchKind kind, const std::vector<RightItem>& items,
                               const RightBatchOptions& options = {});

} // namespace quorvane
