#pragma once
// A controller at 127.0.0.42 played by the test for the service's searches, sending what no
// simulator sends: every datagram it gets is answered with the datagrams of answer() (a pause
// of `gap` after each), and every `period` the datagrams of `every` go to each who has asked.
#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/bytes.h"
#include "platform/udp_socket.h"

namespace quorvane::test {

class PlayedSearcher {
  public:
    using Clock = std::chrono::steady_clock;
    PlayedSearcher(std::uint16_t port, std::function<std::vector<std::string>()> answer,
                   std::chrono::milliseconds gap = {}, std::chrono::milliseconds period = {},
                   std::vector<std::string> every = {})
        : endpoint{*platform::parseIpv4("127.0.0.42"), port}, answer_(std::move(answer)), gap_(gap),
          period_(period), every_(std::move(every)) {
        socket_.open();
        socket_.bind(endpoint.address, port);
        thread_ = std::thread([this] { run(); });
    }
    ~PlayedSearcher() {
        stop_.signal();
        thread_.join();
    }
    const platform::Ipv4Endpoint endpoint;

  private:
    void run() {
        std::vector<platform::Ipv4Endpoint> askers;
        std::vector<std::uint8_t> buffer(65536);
        auto next = Clock::now() + period_;
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now());
            const auto w = socket_.waitReadable(
                &stop_,
                period_.count() ? static_cast<int>(std::max<long long>(0, left.count())) : -1);
            if (w == platform::UdpSocket::Wait::Error || stop_.wait(0))
                return;
            platform::Ipv4Endpoint from;
            if (w == platform::UdpSocket::Wait::Readable &&
                socket_.receiveFrom(buffer, from) >= 0) {
                askers.push_back(from);
                for (const auto& d : answer_()) {
                    socket_.sendTo(asBytes(d), from);
                    std::this_thread::sleep_for(gap_);
                }
            }
            if (period_.count() && Clock::now() >= next) {
                for (const auto& to : askers)
                    for (const auto& d : every_)
                        socket_.sendTo(asBytes(d), to);
                next = Clock::now() + period_;
            }
        }
    }
    std::function<std::vector<std::string>()> answer_;
    std::chrono::milliseconds gap_, period_;
    std::vector<std::string> every_;
    platform::UdpSocket socket_;
    platform::Wakeup stop_;
    std::thread thread_;
};

} // namespace quorvane::test
