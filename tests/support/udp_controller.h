#pragma once
// A controller played inside the test over real loopback sockets: it answers the frames a
// ToolSession sends to its address from a script, like ScriptedLink does for a bare exchange,
// and records every frame. The session's own channel, dispatcher and batch runner run as they
// do against a controller.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "model/device_info.h"
#include "platform/udp_socket.h"
#include "scripted_link.h"

namespace quorvane::test {

class UdpController {
  public:
    // The replies (whole frames) to a request, sent in order; empty: silence.
    using Script = std::function<std::vector<std::string>(const SentFrame&)>;

    // Answers from address:port (dotted address in 127.0.0.0/8, or 0.0.0.0 to hear a broadcast
    // on loopback as well); no script: silence.
    UdpController(const std::string& address, int port, Script script = {});
    ~UdpController();
    UdpController(const UdpController&) = delete;
    UdpController& operator=(const UdpController&) = delete;

    bool ready() const { return ready_; }
    std::vector<SentFrame> received() const;
    std::string frame(std::size_t n) const { return received().at(n).bytes; }
    // Waits (real time, up to limit) until at least n frames arrived; the frames then.
    std::vector<SentFrame> waitForFrames(std::size_t n,
                                         std::chrono::milliseconds limit = std::chrono::seconds(5));
    void setScript(Script script);

  private:
    void run();

    platform::UdpSocket socket_;
    platform::Wakeup stop_;
    mutable std::mutex m_;
    std::condition_variable arrived_;
    Script script_;
    std::vector<SentFrame> received_;
    bool ready_ = false;
    std::thread thread_;
};

// The device-information reply carrying record (basic block form), answering request.
std::string deviceInformation(const SentFrame& request, const DeviceUIInfo& record);

} // namespace quorvane::test
