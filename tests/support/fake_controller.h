#pragma once
// A controller played by the test at one loopback address: it records every frame it
// receives and answers each with the frames its script returns (none: silence). It runs on a
// thread of its own, so an operation that waits for the reply on the test's thread gets it.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "model/device_info.h"
#include "platform/udp_socket.h"

namespace quorvane::test {

class FakeController {
  public:
    using Script = std::function<std::vector<std::string>(const std::string& request)>;

    FakeController(const std::string& address, int port, Script script = {});
    ~FakeController();
    FakeController(const FakeController&) = delete;
    FakeController& operator=(const FakeController&) = delete;

    bool ok() const { return ok_; }
    void setScript(Script script);
    std::vector<std::string> frames() const;
    // Waits until at least n frames arrived; false when the limit passed first.
    bool waitFrames(std::size_t n, std::chrono::milliseconds limit = std::chrono::seconds(10));

  private:
    void loop();

    platform::UdpSocket sock_;
    platform::Wakeup stop_;
    std::atomic<bool> stopping_{false};
    bool ok_ = false;
    mutable std::mutex m_;
    std::condition_variable arrived_;
    Script script_;
    std::vector<std::string> frames_;
    std::thread thread_;
};

// The reply a controller sends to request: code + 1 (or code), the status, the payload, the
// request's sequence number echoed.
std::string answer(const std::string& request, std::uint8_t status = 1,
                   const std::string& payload = {}, int code = -1);
// The device-information reply carrying record (basic block form), answering request.
std::string deviceInformation(const std::string& request, const DeviceUIInfo& record);

} // namespace quorvane::test
