#include "rights/right_copy.h"

#include "rights/right_download.h"
#include "rights/right_upload.h"
#include "session/tool_session.h"

namespace quorvane {

int copyRights(ToolSession& session, const std::vector<DeviceUIInfo>& sources,
               const std::vector<DeviceUIInfo>& targets) {
    int rc = 0;
    for (const auto& source : sources) {
        if (session.port().cancelRequested())
            return -1;
        DownloadResult read = downloadRights(session, source, true, false);
        if (read.rc < 0 || read.file.empty()) {
            session.port().showMessage("从源控制器" + source.ip + "下载权限失败！");
            rc = -1;
            continue;
        }
        for (const auto& target : targets) {
            if (session.port().cancelRequested())
                return -1;
            if (uploadRightFile(session, target, read.file).rc != 0)
                rc = -1;
        }
    }
    return rc;
}

} // namespace quorvane
