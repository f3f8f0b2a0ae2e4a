#include "rights/right_copy.h"

#include "rights/right_download.h"
#include "rights/right_result_files.h"
#include "rights/right_upload.h"
#include "session/batch_summary.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
// One target's line of the summary: what it took of one source.
std::string targetLine(const DeviceUIInfo& source, const DeviceUIInfo& target,
                       const RightBatchResult& r) {
    std::string line = source.ip + "到" + target.ip + "：成功" + std::to_string(r.done) + "，失败" +
                       std::to_string(r.refused()) + "，无应答" + std::to_string(r.unanswered());
    if (r.cancelled)
        line += "，已取消";
    if (!r.failureFile.empty())
        line += "，未成功的已列入：" + r.failureFile;
    return line;
}
} // namespace

int copyRights(ToolSession& session, const std::vector<DeviceUIInfo>& sources,
               const std::vector<DeviceUIInfo>& targets) {
    const BatchStopwatch stopwatch(session.clock());
    const BatchRunner& batch = session.batchRunner();
    BatchSummary summary;
    summary.operation = "复制权限";
    summary.total = static_cast<long>(sources.size() * targets.size());
    auto copyFrom = [&](long s) {
        const DeviceUIInfo& source = sources[static_cast<std::size_t>(s)];
        DownloadResult read = downloadRights(session, source, true, false);
        if (read.rc < 0) {
            summary.itemLines.push_back("从源控制器" + source.ip + "下载权限失败！");
            summary.failed += static_cast<long>(targets.size());
            return false;
        }
        // The rights go to the targets from memory: another download in the program directory
        // may replace the shared file while the targets are written.
        const RightFileContent rights =
            readRightFile(resultListText(read.lines), readRightSettings(session.settings()));
        auto uploadTo = [&](long t) {
            const DeviceUIInfo& target = targets[static_cast<std::size_t>(t)];
            RightBatchOptions options;
            options.report = false;
            options.failureFileTag = "-" + target.ip;
            const RightBatchResult r = uploadRightContent(session, target, rights, options);
            summary.itemLines.push_back(targetLine(source, target, r));
            if (r.rc == 0)
                ++summary.succeeded;
            else if (r.cancelled && r.done + r.refused() + r.unanswered() == 0)
                return false; // stopped before it began: neither done nor failed
            else if (r.refused() == 0 && r.unanswered() > 0)
                ++summary.unanswered;
            else
                ++summary.failed;
            return r.rc == 0;
        };
        return batch.runSteps(static_cast<long>(targets.size()), uploadTo).allSucceeded();
    };
    const BatchResult run = batch.runSteps(static_cast<long>(sources.size()), copyFrom);
    summary.cancelled = run.cancelled || session.port().cancelRequested();
    summary.elapsed = stopwatch.elapsed();
    session.port().showMessage(batchSummaryText(summary));
    return run.allSucceeded() && !summary.cancelled ? 0 : -1;
}

} // namespace quorvane
