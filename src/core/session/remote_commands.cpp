#include "session/remote_commands.h"

#include "session/device_command.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
constexpr std::uint8_t kReadTime = 40;
} // namespace

int readTime(ToolSession& session, const std::optional<DeviceUIInfo>& selected) {
    if (!selected) {
        session.port().showMessage("请选择要操作的设备！");
        return -1;
    }
    return commandResult(session, sendDeviceCommand(session, *selected, kReadTime));
}

} // namespace quorvane
