// The summary a batch ends with, as the person reads it: heading, counts, items not handled
// after a cancel, item lines, where the failure list is, and the time on the session's clock.
#include <gtest/gtest.h>

#include "fake_clock.h"
#include "session/batch_summary.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;

struct SummaryCase {
    const char* name;
    BatchSummary summary;
    const char* text;
};

BatchSummary of(long total, long ok, long failed, long silent, bool cancelled = false) {
    BatchSummary s;
    s.operation = "检查权限";
    s.total = total;
    s.succeeded = ok;
    s.failed = failed;
    s.unanswered = silent;
    s.cancelled = cancelled;
    return s;
}

BatchSummary withFile(BatchSummary s) {
    s.failureFile = "/p/检查权限失败清单.txt";
    return s;
}

BatchSummary withLines(BatchSummary s) {
    s.operation = "复制配置";
    s.itemLines = {"127.0.0.2：保存成功", "127.0.0.3：无应答"};
    return s;
}

class Summaries : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(Summaries, SayHowTheBatchEnded) {
    EXPECT_EQ(batchSummaryText(GetParam().summary), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, Summaries,
    ::testing::Values(SummaryCase{"AllThrough", of(3, 3, 0, 0),
                                  "操作成功！\n检查权限：共3，成功3，失败0，无应答0\n用时0秒"},
                      SummaryCase{"NoneAnswered", withFile(of(2, 0, 0, 2)),
                                  "操作失败！\n检查权限：共2，成功0，失败0，无应答2\n"
                                  "未成功的已列入：/p/检查权限失败清单.txt\n用时0秒"},
                      SummaryCase{"SomeThrough", withLines(of(2, 1, 0, 1)),
                                  "操作部分成功！\n复制配置：共2，成功1，失败0，无应答1\n"
                                  "127.0.0.2：保存成功\n127.0.0.3：无应答\n用时0秒"},
                      SummaryCase{
                          "CancelledWithItemsLeft", withFile(of(2000, 5, 1, 0, true)),
                          "操作已取消！\n检查权限：共2000，成功5，失败1，无应答0，未处理1994\n"
                          "未成功的已列入：/p/检查权限失败清单.txt\n用时0秒"},
                      SummaryCase{"CancelledAfterTheLast", of(1, 1, 0, 0, true),
                                  "操作已取消！\n检查权限：共1，成功1，失败0，无应答0\n用时0秒"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BatchStopwatch, TakesTheTimeFromTheSessionsClock) {
    test::FakeClock clock;
    const BatchStopwatch stopwatch(clock);
    clock.advance(40s + 900ms);
    BatchSummary s = of(2, 0, 0, 2);
    s.elapsed = stopwatch.elapsed();
    EXPECT_EQ(batchSummaryText(s), "操作失败！\n检查权限：共2，成功0，失败0，无应答2\n用时40秒");
}

} // namespace
} // namespace quorvane
