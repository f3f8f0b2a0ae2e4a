#pragma once
// Turns search replies (reply code 3) into device-list rows: how the controller was found,
// the decode with its error captures, and the list's merge and order rules.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "model/device_info.h"
#include "protocol/reply_dispatch.h"

namespace quorvane {

class DeviceList;

class SearchReplyHandler {
  public:
    // Registers itself as the handler of reply code 3.
    SearchReplyHandler(ReplyDispatcher& dispatcher, DeviceList& devices,
                       std::uint16_t multicastPort);

    int handle(const Reply& reply);
    // The record a device-information reply carries, with how it was found; nothing after
    // the capture file and notice of a failed decode.
    std::optional<DeviceUIInfo> decode(Bytes frame, const std::string& source, bool viaUdp);

    // The port whose appearance in the sender text marks a multicast find.
    void setMulticastPort(std::uint16_t port) { multicastPort_.store(port); }
    // Called on the replying thread after a reply changed the list.
    void setListChangedCallback(std::function<void()> callback);

  private:
    ReplyDispatcher& dispatcher_;
    DeviceList& devices_;
    std::atomic<std::uint16_t> multicastPort_;

    std::mutex m_;
    std::function<void()> listChanged_;
};

} // namespace quorvane
