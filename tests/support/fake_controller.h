#pragma once
// A controller played by the test at one loopback address, for tests that look at whole frames:
// it records every frame it receives and answers each with the frames its script returns (none:
// silence). The socket and its thread are UdpController's.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "model/device_info.h"
#include "udp_controller.h"

namespace quorvane::test {

class FakeController {
  public:
    using Script = std::function<std::vector<std::string>(const std::string& request)>;

    FakeController(const std::string& address, int port, Script script = {})
        : link_(address, port, adapt(std::move(script))) {}

    bool ok() const { return link_.ready(); }
    void setScript(Script script) { link_.setScript(adapt(std::move(script))); }
    std::vector<std::string> frames() const { return bytesOf(link_.received()); }
    // Waits until at least n frames arrived; false when the limit passed first.
    bool waitFrames(std::size_t n, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        return link_.waitForFrames(n, limit).size() >= n;
    }

  private:
    static UdpController::Script adapt(Script script);
    static std::vector<std::string> bytesOf(const std::vector<SentFrame>& frames);

    UdpController link_;
};

// The reply a controller sends to request: code + 1 (or code), the status, the payload, the
// request's sequence number echoed.
std::string answer(const std::string& request, std::uint8_t status = 1,
                   const std::string& payload = {}, int code = -1);
// The device-information reply carrying record (basic block form), answering request.
std::string deviceInformation(const std::string& request, const DeviceUIInfo& record);

} // namespace quorvane::test
