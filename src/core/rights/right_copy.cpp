#include "rights/right_copy.h"

#include "rights/right_download.h"
#include "rights/right_result_files.h"
#include "rights/right_upload.h"
#include "session/tool_session.h"

namespace quorvane {

int copyRights(ToolSession& session, const std::vector<DeviceUIInfo>& sources,
               const std::vector<DeviceUIInfo>& targets) {
    const BatchRunner& batch = session.batchRunner();
    auto copyFrom = [&](long s) {
        const DeviceUIInfo& source = sources[static_cast<std::size_t>(s)];
        DownloadResult read = downloadRights(session, source, true, false);
        if (read.rc < 0) {
            session.port().showMessage("从源控制器" + source.ip + "下载权限失败！");
            return false;
        }
        // The rights go to the targets from memory: another download in the program directory
        // may replace the shared file while the targets are written.
        const RightFileContent rights =
            readRightFile(resultListText(read.lines), readRightSettings(session.settings()));
        auto uploadTo = [&](long t) {
            return uploadRightContent(session, targets[static_cast<std::size_t>(t)], rights).rc ==
                   0;
        };
        return batch.runSteps(static_cast<long>(targets.size()), uploadTo).allSucceeded();
    };
    return batch.runSteps(static_cast<long>(sources.size()), copyFrom).allSucceeded() ? 0 : -1;
}

} // namespace quorvane
