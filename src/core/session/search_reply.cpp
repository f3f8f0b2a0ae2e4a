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

int SearchReplyHandler::handle(const Reply& reply) {
    DeviceUIInfo record;
    if (!reply.viaUdp)
        record.searchModes = kFoundByPipe;
    else if (reply.source.find(":" + std::to_string(multicastPort_.load())) != std::string::npos)
        record.searchModes = kFoundByMulticast;
    else
        record.searchModes = kFoundByBroadcast;
    record.sourceAddress = reply.source;

    bool extended = false;
    // Bytes after the frame's declared end are not the controller's block: a block that runs
    // past the length field fails like any short one.
    int rc = getUIInfoFromMsg(declaredFrame(reply.frame), extended, record);
    if (rc == -1) {
        dispatcher_.writeCapture("Error-sum-v1.bin", reply.frame);
        dispatcher_.notice("配置数据检验和失败（V1）！");
        return -1;
    }
    if (rc == -2) {
        dispatcher_.writeCapture("Error-sum-v2.bin", reply.frame);
        dispatcher_.notice("配置数据检验和失败（V2）！");
        return -1;
    }
    if (rc < 0) {
        dispatcher_.notice("从返回消息解析设备信息失败！");
        return -1;
    }

    std::function<void()> changed;
    {
        std::lock_guard l(m_);
        if (refreshPending_) {
            refreshPending_ = false;
            refreshed_ = std::move(record);
            refreshDone_.set();
            return 0;
        }
        changed = listChanged_;
    }
    if (devices_.addSearchReply(record) && changed) changed();
    return 0;
}

void SearchReplyHandler::armRefresh() {
    std::lock_guard l(m_);
    refreshDone_.clear();
    refreshed_.reset();
    refreshPending_ = true;
}

std::optional<DeviceUIInfo> SearchReplyHandler::awaitRefresh(std::chrono::milliseconds total,
                                                             const std::function<void()>& pump) {
    refreshDone_.wait(total, pump);
    std::lock_guard l(m_);
    refreshPending_ = false;
    auto record = std::move(refreshed_);
    refreshed_.reset();
    return record;
}

} // namespace quorvane
