#pragma once
// The simulator's sockets and event loop: requests come in on the administration port (and
// the multicast port), each addressed controller answers from its own address, and replies
// leave through a queue that applies delay, rate and faults.
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/udp_socket.h"
#include "sim_commands.h"
#include "sim_controller.h"
#include "sim_faults.h"
#include "sim_options.h"

namespace quorvane::sim {

class SimNetwork {
public:
    SimNetwork(const SimOptions& options, std::vector<SimController> controllers);
    // Opens the sockets; false after printing the reason.
    bool open();
    // Runs until stopFd becomes readable.
    void run(int stopFd);

private:
    struct Outgoing {
        std::chrono::steady_clock::time_point due;
        platform::UdpSocket* socket;
        std::string bytes;
        platform::Ipv4Endpoint to;
        std::uint32_t from;
    };
    void receive(platform::UdpSocket& socket);
    void handle(platform::UdpSocket& socket, Bytes datagram, const platform::Ipv4Endpoint& from,
                std::uint32_t destination);
    std::vector<std::size_t> addressed(std::uint32_t destination) const;
    void flush();
    int nextTimeoutMs() const;

    SimOptions options_;
    std::vector<SimController> controllers_;
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> byAddress_;
    std::uint32_t group_ = 0;
    CommandTable commands_;
    FaultInjector faults_;
    platform::UdpSocket admin_;
    platform::UdpSocket multicast_;
    std::deque<Outgoing> queue_;
    std::chrono::steady_clock::time_point nextSlot_{};
};

} // namespace quorvane::sim
