#include "transfer/firmware.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/files.h"
#include "protocol/admin_channel.h"
#include "session/device_command.h"
#include "session/device_targets.h"
#include "session/tool_session.h"
#include "transfer/page_frames.h"

namespace quorvane {

namespace {
using namespace std::chrono_literals;
constexpr long kDamagedPageCount = 512;

PageProgress progressText(const char* format, int shift) {
    return [format, shift](long page, long end) {
        char text[96];
        std::snprintf(text, sizeof text, format, page + shift, end);
        return std::string(text);
    };
}

std::optional<std::vector<std::uint8_t>> confirmationCode(ToolSession& session) {
    std::string hex =
        session.settings().readString("net", "clear-program-code", kDefaultClearProgramCode);
    if (hex.size() != 16)
        return std::nullopt;
    std::vector<std::uint8_t> code;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned byte = 0;
        if (std::sscanf(hex.substr(i, 2).c_str(), "%2x", &byte) != 1 ||
            !std::isxdigit(static_cast<unsigned char>(hex[i])) ||
            !std::isxdigit(static_cast<unsigned char>(hex[i + 1])))
            return std::nullopt;
        code.push_back(static_cast<std::uint8_t>(byte));
    }
    return code;
}
} // namespace

TransferResult upload_FIRMWARE(ToolSession& session, const DeviceUIInfo& device, std::uint32_t base,
                               const std::string& fileName, bool broadcast) {
    TransferResult result;
    auto file = fileName.empty() ? std::nullopt : platform::readWholeFile(fileName);
    if (!file || file->empty()) {
        session.port().showMessage("打开文件失败！没有指定要新的固件文件！");
        return result;
    }
    const long pages = static_cast<long>((file->size() + kPageBytes - 1) / kPageBytes);
    if (pages == kDamagedPageCount) {
        session.port().showMessage("固件文件已经损坏！");
        return result;
    }
    std::optional<DeviceTarget> target;
    int route = kRouteByDevice;
    if (broadcast) {
        SearchTarget where = session.channel().searchTarget();
        target = broadcastTarget(where.destination, where.multicast, kAnyTarget);
        // A broadcast never goes through the host service.
        route = kRouteUdp;
    } else {
        target = pageTarget(session, device);
    }
    if (!target)
        return result;
    WinDisabler busy(session.port());
    PageRun run{MemoryType::Firmware,
                0,
                pages,
                base,
                {},
                progressText("正在上传新的固件(第%ld页/共%ld页)...", 0),
                broadcast ? Clock::Duration(100ms) : Clock::Duration::zero(),
                route};
    PageRunResult sent = writePages(session, *target, asBytes(*file), run);
    result.pages = sent.pages;
    result.rc = sent.rc;
    reportRun(session, sent, "上传固件");
    if (sent.rc != 0)
        return result;
    if (broadcast)
        session.clock().sleepFor(500ms);
    ExchangeRequest commit;
    commit.target = *target;
    commit.route = route;
    commit.command = page_command::kCommitFirmware;
    commit.payload =
        commitPayload(base, static_cast<std::uint32_t>(file->size()), byteSum(asBytes(*file)));
    // Several controllers answer a broadcast commit; each answer shows as it comes.
    ExchangeOutcome outcome =
        session.exchange().run(commit, broadcast ? limits::kSendOnly : session.oneShotLimits());
    result.rc = commandResult(session, outcome);
    return result;
}

TransferResult download_FIRMWARE(ToolSession& session, const DeviceUIInfo& device,
                                 MemoryImages& images, std::uint32_t base, std::size_t size,
                                 const std::string& fileName) {
    TransferResult result;
    auto target = pageTarget(session, device);
    if (!target)
        return result;
    WinDisabler busy(session.port());
    std::fill(images.firmware.begin(), images.firmware.end(), 0xCC);
    images.firmwareBase = base;
    const long pages = static_cast<long>(std::min(size, images.firmware.size()) / kPageBytes);
    PageRun run{
        MemoryType::Firmware, 0, pages, base, {}, progressText("正在下载固件(%ld/%ld)...", 1)};
    PageRunResult read = readPages(session, *target, images, run);
    reportRun(session, read, "下载固件");
    result.pages = read.pages;
    result.rc = read.rc;
    if (read.rc != 0)
        return result;
    result.file = fileName.empty() ? dataPath(session, "data/download.bin") : fileName;
    if (!saveBytes(session, result.file, images.firmware))
        result.rc = -1;
    return result;
}

int clearProgram(ToolSession& session, const DeviceUIInfo& device) {
    auto code = confirmationCode(session);
    if (!code) {
        session.port().showMessage(
            "清除程序确认码设置错误（clear-program-code应为16位十六进制数）！");
        return -1;
    }
    if (!session.port().askYesNoDefaultNo("确定要清除设备程序？"))
        return 1;
    return commandResult(session,
                         sendDeviceCommand(session, device, page_command::kClearProgram, *code));
}

int playSound(ToolSession& session, const DeviceUIInfo& device, int playCount, int soundNumber,
              bool flag) {
    std::vector<std::uint8_t> payload{static_cast<std::uint8_t>(playCount),
                                      static_cast<std::uint8_t>(soundNumber),
                                      static_cast<std::uint8_t>(flag ? 1 : 0)};
    return commandResult(session,
                         sendDeviceCommand(session, device, page_command::kPlaySound, payload));
}

} // namespace quorvane
