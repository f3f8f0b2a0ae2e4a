#include "rights/right_upload.h"

#include "platform/files.h"
#include "session/tool_session.h"

namespace quorvane {

RightBatchResult uploadRightFile(ToolSession& session, const DeviceUIInfo& device,
                                 const std::string& path) {
    auto bytes = platform::readWholeFile(path);
    if (!bytes) {
        session.port().showMessage("打开文件失败！");
        return {};
    }
    return uploadRightContent(session, device,
                              readRightFile(*bytes, readRightSettings(session.settings())));
}

RightBatchResult uploadRightContent(ToolSession& session, const DeviceUIInfo& device,
                                    const RightFileContent& content,
                                    const RightBatchOptions& options) {
    if (content.refused > 0)
        session.port().showMessage(content.firstRefusal);
    if (content.items.empty()) {
        RightBatchResult none;
        none.rc = content.refused > 0 ? -1 : 0;
        return none;
    }
    return runRightBatch(session, device, RightBatchKind::Add, content.items, options);
}

RightBatchResult uploadRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected) {
    if (!selected) {
        session.port().showMessage("请选择要操作的记录！");
        return {};
    }
    auto path = session.port().pickOpenFile("TXT Files(*.txt)|*.txt|All Files(*.*)|*.*||");
    if (!path)
        return {};
    return uploadRightFile(session, *selected, *path);
}

} // namespace quorvane
