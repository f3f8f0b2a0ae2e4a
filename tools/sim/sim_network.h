#pragma once
// The simulator's sockets and event loop: requests come in on the administration port (and
// the multicast port), each addressed controller answers from its own address, and replies
// leave through a queue ordered by the time they are due, which applies delays, the reply rate
// and the faults.
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/udp_socket.h"
#include "sim_command_faults.h"
#include "sim_command_table.h"
#include "sim_controller.h"
#include "sim_faults.h"
#include "sim_options.h"

namespace quorvane::sim {

class SimNetwork {
  public:
    SimNetwork(const SimOptions& options, std::vector<SimController> controllers);
    // Opens the sockets; false after printing the reason.
    bool open();
    // Runs until SIGTERM or SIGINT arrives on signalFd (a signalfd); SIGUSR1 writes a dump.
    void run(int signalFd);
    // Writes the state dump to the --dump file, if one was named, and prints "dump N".
    void writeDump(const char* reason);

  private:
    struct Outgoing {
        platform::UdpSocket* socket;
        std::string bytes;
        platform::Ipv4Endpoint to;
        std::uint32_t from;
    };
    void receive(platform::UdpSocket& socket);
    void handle(platform::UdpSocket& socket, Bytes datagram, const platform::Ipv4Endpoint& from,
                std::uint32_t destination);
    void queueReply(platform::UdpSocket& socket, const platform::Ipv4Endpoint& from,
                    std::uint32_t sender, const SimController& c, const SimRequest& request,
                    std::uint8_t code, const SimReply& reply,
                    std::chrono::steady_clock::time_point due);
    void answer(std::size_t index, const SimRequest& request, platform::UdpSocket& socket,
                const platform::Ipv4Endpoint& from);
    std::vector<std::size_t> addressed(std::uint32_t destination) const;
    // Files controller index under its new address after it left from.
    void move(std::size_t index, std::uint32_t from);
    void flush();
    int nextTimeoutMs() const;

    SimOptions options_;
    std::vector<SimController> controllers_;
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> byAddress_;
    std::uint32_t group_ = 0;
    CommandTable commands_;
    CommandFaults commandFaults_;
    FaultInjector faults_;
    platform::UdpSocket admin_;
    platform::UdpSocket multicast_;
    // Replies by due time; replies due at the same time leave in the order they were queued.
    std::multimap<std::chrono::steady_clock::time_point, Outgoing> queue_;
    std::chrono::steady_clock::time_point nextSlot_{};
    std::uint64_t dumps_ = 0;
};

} // namespace quorvane::sim
