#include "session/search_reply.h"

#include <string>

#include "protocol/frame.h"
#include "session/device_list.h"

namespace quorvane {

SearchReplyHandler::SearchReplyHandler(ReplyDispatcher& dispatcher, DeviceList& devices,
                                       std::uint16_t multicastPort)
    : dispatcher_(dispatcher), devices_(devices), multicastPort_(multicastPort) {
    dispatcher_.setHandler(3, [this](const Reply& r) { return handle(r); });
}

void SearchReplyHandler::setListChangedCallback(std::function<void()> callback) {
    std::lock_guard l(m_);
    listChanged_ = std::move(callback);
}

std::optional<DeviceUIInfo> SearchReplyHandler::decode(Bytes frame, const std::string& source,
                                                       bool viaUdp) {
    DeviceUIInfo record;
    if (!viaUdp)
        record.searchModes = kFoundByPipe;
    else if (source.find(":" + std::to_string(multicastPort_.load())) != std::string::npos)
        record.searchModes = kFoundByMulticast;
    else
        record.searchModes = kFoundByBroadcast;
    record.sourceAddress = source;

    bool extended = false;
    // Bytes after the frame's declared end are not the controller's block: a block that runs
    // past the length field fails like any short one.
    int rc = getUIInfoFromMsg(declaredFrame(frame), extended, record);
    if (rc == -1) {
        dispatcher_.writeCapture("Error-sum-v1.bin", frame);
        dispatcher_.notice("配置数据检验和失败（V1）！");
        return std::nullopt;
    }
    if (rc == -2) {
        dispatcher_.writeCapture("Error-sum-v2.bin", frame);
        dispatcher_.notice("配置数据检验和失败（V2）！");
        return std::nullopt;
    }
    if (rc < 0) {
        dispatcher_.notice("从返回消息解析设备信息失败！");
        return std::nullopt;
    }
    return record;
}

int SearchReplyHandler::handle(const Reply& reply) {
    auto record = decode(reply.frame, reply.source, reply.viaUdp);
    if (!record)
        return -1;
    std::function<void()> changed;
    {
        std::lock_guard l(m_);
        changed = listChanged_;
    }
    if (devices_.addSearchReply(*record) && changed)
        changed();
    return 0;
}

} // namespace quorvane
