#include "records/fill_log.h"

#include "session/device_command.h"
#include "session/tool_session.h"

namespace quorvane {

std::uint32_t fillLogCount(int value, const std::function<std::uint32_t()>& random) {
    return value != 0 ? static_cast<std::uint32_t>(value) : random() % 255;
}

int fillLog(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
            std::uint32_t count) {
    if (!selected) {
        session.port().showMessage("请选择要操作的记录！");
        return -1;
    }
    std::vector<std::uint8_t> payload(4);
    ByteWriter(payload).putU32le(count);
    return commandResult(session, sendDeviceCommand(session, *selected, kFillLogCommand, payload));
}

} // namespace quorvane
