#include "config/device_detail.h"

#include "infra/codepage.h"
#include "infra/tool_log.h"
#include "model/config_text.h"
#include "session/operation_result.h"
#include "session/tool_session.h"

namespace quorvane {

int showDevDetailInfo(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                      const std::string& serviceState, bool writeFile) {
    UserPort& port = session.port();
    if (!selected) {
        port.showMessage("请选择要操作的设备！");
        return kOperationFailed;
    }
    const std::string text = devDetailText(*selected, serviceState);
    // The box needs no line break after the last line; the file keeps it.
    port.showMessage(text.substr(0, text.find_last_not_of('\n') + 1));
    if (!writeFile)
        return kOperationDone;
    const std::string path = session.programDir() + "/" + kDetailFileName;
    if (!writeTextFile(&session.log(), path, toGbk(text))) {
        port.showMessage("保存失败！");
        return kOperationFailed;
    }
    port.openDocument(path, true);
    return kOperationDone;
}

int showDeviceState(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                    const std::string& serviceState, DeviceUIInfo* refreshed) {
    DeviceUIInfo current = selected.value_or(DeviceUIInfo{});
    if (session.refreshSelected(selected, true, &current) == -1)
        return kOperationFailed;
    if (refreshed)
        *refreshed = current;
    return showDevDetailInfo(session, selected ? std::optional(current) : std::nullopt,
                             serviceState, false);
}

} // namespace quorvane
