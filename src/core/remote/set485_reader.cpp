#include "remote/set485_reader.h"

#include <chrono>

#include "infra/codepage.h"
#include "platform/mw_sync_com.h"
#include "protocol/reader_flag.h"

namespace quorvane {

namespace {
using namespace std::chrono_literals;
// A reader answers within a fraction of a second; its answer's bytes follow each other closely.
constexpr auto kFirstByteWait = 1500ms;
constexpr auto kByteGap = 100ms;
} // namespace

int setReaderFlag(const Settings& settings, UserPort& port, const Set485Request& request) {
    // The serial goes on the line in the system code page: it is counted in those bytes.
    const std::string serial = toGbk(request.serial);
    if (serial.size() != kReaderSerialLength) {
        port.showMessage("请输入8位出厂序号！");
        return -1;
    }
    if (request.comNumber < 1) {
        port.showMessage("请选择串口号！");
        return -1;
    }
    if (request.flag < 1 || request.flag > 255) {
        port.showMessage("读头标志必须是1到255之间的数字！");
        return -1;
    }
    auto path = platform::serialDevicePath(
        settings.readString("port", "com-device", kComDeviceDefault, 1024), request.comNumber);
    platform::MWSyncCom com;
    if (!path || !com.open(*path, platform::SerialSettings{})) {
        port.showMessage("打开端口失败！");
        return -1;
    }
    const auto flag = static_cast<std::uint8_t>(request.flag);
    const auto frame = readerFlagFrame(serial, flag);
    std::array<std::uint8_t, kReaderFlagReplyMax> answer{};
    std::size_t got = 0;
    if (com.write(frame))
        got = com.read(answer, kFirstByteWait, kByteGap);
    com.close();
    const bool ok = readerFlagAccepted(Bytes(answer.data(), got), flag);
    port.showMessage(ok ? "操作成功！" : "操作失败！");
    return ok ? 0 : -1;
}

} // namespace quorvane
