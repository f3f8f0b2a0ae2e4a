#pragma once
// Turns search replies (reply code 3) into device-list rows: how the controller was found,
// the decode with its error captures, the pending refresh record of a single-device refresh,
// and the list's merge and order rules.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "model/device_info.h"
#include "protocol/reply_dispatch.h"
#include "protocol/reply_waiter.h"

namespace quorvane {

class DeviceList;

class SearchReplyHandler {
public:
    // Registers itself as the handler of reply code 3.
    SearchReplyHandler(ReplyDispatcher& dispatcher, DeviceList& devices,
                       std::uint16_t multicastPort);

    int handle(const Reply& reply);

    // The port whose appearance in the sender text marks a multicast find.
    void setMulticastPort(std::uint16_t port) { multicastPort_.store(port); }
    // Called on the replying thread after a reply changed the list.
    void setListChangedCallback(std::function<void()> callback);

    // The next decoded reply goes to the pending refresh record instead of the list.
    void armRefresh();
    // Waits for that reply; the record, or nothing after total (the pending record is cleared).
    std::optional<DeviceUIInfo> awaitRefresh(std::chrono::milliseconds total,
                                             const std::function<void()>& pump = {});

private:
    ReplyDispatcher& dispatcher_;
    DeviceList& devices_;
    std::atomic<std::uint16_t> multicastPort_;

    std::mutex m_;
    std::function<void()> listChanged_;
    bool refreshPending_ = false;
    std::optional<DeviceUIInfo> refreshed_;
    ReplyWaiter refreshDone_;
};

} // namespace quorvane
