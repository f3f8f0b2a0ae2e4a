#include "session/batch_summary.h"

#include <chrono>

namespace quorvane {

namespace {
std::string heading(const BatchSummary& s) {
    if (s.cancelled)
        return "操作已取消！";
    if (s.succeeded == s.total)
        return "操作成功！";
    return s.succeeded == 0 ? "操作失败！" : "操作部分成功！";
}
} // namespace

std::string batchSummaryText(const BatchSummary& s) {
    std::string text = heading(s) + "\n" + s.operation + "：共" + std::to_string(s.total) +
                       "，成功" + std::to_string(s.succeeded) + "，失败" +
                       std::to_string(s.failed) + "，无应答" + std::to_string(s.unanswered);
    // After a cancel the items never sent are neither done nor failed: the person may run them.
    if (s.handled() < s.total)
        text += "，未处理" + std::to_string(s.total - s.handled());
    for (const std::string& line : s.itemLines)
        text += "\n" + line;
    if (!s.failureFile.empty())
        text += "\n未成功的已列入：" + s.failureFile;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(s.elapsed).count();
    text += "\n用时" + std::to_string(seconds) + "秒";
    return text;
}

} // namespace quorvane
