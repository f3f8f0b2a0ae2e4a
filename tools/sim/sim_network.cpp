#include "sim_network.h"

#include <algorithm>
#include <csignal>
#include <iostream>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include "platform/files.h"
#include "sim_dump.h"

namespace quorvane::sim {

using clock = std::chrono::steady_clock;

SimNetwork::SimNetwork(const SimOptions& options, std::vector<SimController> controllers)
    : options_(options), controllers_(std::move(controllers)),
      commandFaults_(options.faults, options.seed),
      faults_(options.seed, options.dropRate, options.duplicateRate, options.corruptRate) {
    for (std::size_t i = 0; i < controllers_.size(); ++i) {
        SimController& c = controllers_[i];
        byAddress_[c.address].push_back(i);
        // A door fault is a state of the door: its module answers for it.
        c.remote.doorStatus = commandFaults_.doorStatuses(c.address);
    }
}

bool SimNetwork::open() {
    auto bindAddress = platform::parseIpv4(options_.bindAddress);
    if (!bindAddress) {
        std::cerr << "quorvane-sim: bad bind address " << options_.bindAddress << "\n";
        return false;
    }
    if (!admin_.open() || !admin_.setBroadcast(true) || !admin_.enablePacketInfo() ||
        !admin_.setReceiveBuffer(4 * 1024 * 1024) || !admin_.bind(*bindAddress, options_.port)) {
        std::cerr << "quorvane-sim: cannot bind " << options_.bindAddress << ":" << options_.port
                  << " (errno " << admin_.lastErrno() << ")\n";
        return false;
    }
    if (!options_.multicastGroup.empty()) {
        auto group = platform::parseIpv4(options_.multicastGroup);
        auto iface = platform::parseIpv4(options_.multicastInterface);
        if (!group || !iface) {
            std::cerr << "quorvane-sim: bad multicast group or interface\n";
            return false;
        }
        group_ = *group;
        // The interface is always named: multicast never picks the default route.
        if (!multicast_.open() || !multicast_.setReuseAddress(true) ||
            !multicast_.enablePacketInfo() || !multicast_.setMulticastInterface(*iface) ||
            !multicast_.bind(0, options_.multicastPort) ||
            !multicast_.addMembership(*group, *iface)) {
            std::cerr << "quorvane-sim: cannot join " << options_.multicastGroup << " on "
                      << options_.multicastInterface << " (errno " << multicast_.lastErrno()
                      << ")\n";
            return false;
        }
    }
    return true;
}

std::vector<std::size_t> SimNetwork::addressed(std::uint32_t destination) const {
    auto it = byAddress_.find(destination);
    if (it != byAddress_.end())
        return it->second;
    bool broadcast = destination == 0xFFFFFFFFu || (destination & 0xFF) == 0xFF;
    bool multicast = group_ != 0 && destination == group_;
    if (!broadcast && !multicast)
        return {};
    std::vector<std::size_t> all(controllers_.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    return all;
}

void SimNetwork::handle(platform::UdpSocket& socket, Bytes datagram,
                        const platform::Ipv4Endpoint& from, std::uint32_t destination) {
    // Outside a test network namespace nothing may answer a sender on another machine.
    if (!options_.allowRemote && !platform::isLoopback(from.address))
        return;
    auto request = readRequest(datagram);
    if (!request)
        return;
    if (options_.verbose)
        std::cerr << "request " << int(request->command) << " target " << request->target
                  << " from " << from.text() << " to " << platform::ipv4Text(destination) << "\n";
    for (std::size_t i : addressed(destination)) {
        const SimController& c = controllers_[i];
        if (request->target != kAnyTarget && request->target != c.targetId())
            continue;
        answer(i, *request, socket, from);
    }
}

// Scripted faults first (a status instead of the command, a dropped or late reply), then the
// drawn ones (dropped, duplicated, corrupted).
void SimNetwork::answer(std::size_t index, const SimRequest& request, platform::UdpSocket& socket,
                        const platform::Ipv4Endpoint& from) {
    SimController& c = controllers_[index];
    // A command may move the controller (a text command's setIp): it answers from the address
    // the request reached, and from then on at its new one.
    const std::uint32_t reached = c.address;
    if (request.checksumOk)
        ++c.requests[request.command];
    std::optional<CommandTable::Answer> answer;
    auto status =
        request.checksumOk ? commandFaults_.statusFor(c.address, request.command) : std::nullopt;
    if (status)
        answer = CommandTable::Answer{static_cast<std::uint8_t>(request.command + 1),
                                      SimReply{*status, {}}};
    else
        answer = commands_.answer(c, request);
    if (c.address != reached)
        move(index, reached);
    if (!answer)
        return;
    if (commandFaults_.dropReply(index, reached, request))
        return;
    const auto due = clock::now() + std::chrono::milliseconds(options_.delayMs) +
                     commandFaults_.delayFor(reached, request.command);
    queueReply(socket, from, reached, c, request, answer->code, answer->reply, due);
    // Each further reply meets the drawn faults on its own.
    for (const SimReply& more : answer->reply.more)
        if (!commandFaults_.dropReply(index, reached, request))
            queueReply(socket, from, reached, c, request, answer->code, more, due);
}

void SimNetwork::queueReply(platform::UdpSocket& socket, const platform::Ipv4Endpoint& from,
                            std::uint32_t sender, const SimController& c, const SimRequest& request,
                            std::uint8_t code, const SimReply& reply,
                            std::chrono::steady_clock::time_point due) {
    std::string frame = buildReply(c.targetId(), request.sequence, code, reply);
    int copies = faults_.copies();
    faults_.maybeCorrupt(frame);
    for (int k = 0; k < copies; ++k)
        queue_.emplace(due, Outgoing{&socket, frame, from, sender});
}

void SimNetwork::move(std::size_t index, std::uint32_t from) {
    std::erase(byAddress_[from], index);
    if (byAddress_[from].empty())
        byAddress_.erase(from);
    byAddress_[controllers_[index].address].push_back(index);
}

void SimNetwork::receive(platform::UdpSocket& socket) {
    std::vector<std::uint8_t> buffer(kLargestRequest);
    platform::Ipv4Endpoint from;
    std::uint32_t destination = 0;
    int n = socket.receiveFrom(buffer, from, &destination);
    if (n > 0)
        handle(socket, Bytes(buffer.data(), static_cast<std::size_t>(n)), from, destination);
}

void SimNetwork::flush() {
    const auto spacing = options_.rate > 0 ? std::chrono::nanoseconds(1000000000ll / options_.rate)
                                           : std::chrono::nanoseconds(0);
    auto now = clock::now();
    while (!queue_.empty() && queue_.begin()->first <= now && nextSlot_ <= now) {
        Outgoing& o = queue_.begin()->second;
        o.socket->sendFrom(asBytes(o.bytes), o.to, o.from);
        queue_.erase(queue_.begin());
        if (spacing.count() > 0) {
            nextSlot_ = std::max(nextSlot_ + spacing, now - spacing);
            now = clock::now();
        }
    }
}

int SimNetwork::nextTimeoutMs() const {
    if (queue_.empty())
        return -1;
    auto when = std::max(queue_.begin()->first, nextSlot_);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when - clock::now()).count();
    return ms < 0 ? 0 : static_cast<int>(ms) + 1;
}

void SimNetwork::writeDump(const char* reason) {
    if (options_.dumpPath.empty())
        return;
    // A dump that could not be written takes no number, so the numbers printed stay 1, 2, 3...
    const std::uint64_t number = dumps_ + 1;
    if (!platform::replaceFile(options_.dumpPath, stateDump(number, reason, controllers_))) {
        std::cerr << "quorvane-sim: cannot write the dump to " << options_.dumpPath << "\n";
        return;
    }
    dumps_ = number;
    std::cout << "dump " << number << std::endl;
}

void SimNetwork::run(int signalFd) {
    for (;;) {
        pollfd fds[3] = {
            {signalFd, POLLIN, 0}, {admin_.fd(), POLLIN, 0}, {multicast_.fd(), POLLIN, 0}};
        int n = ::poll(fds, multicast_.isOpen() ? 3 : 2, nextTimeoutMs());
        if (n < 0 && errno != EINTR)
            return;
        if (n > 0 && (fds[0].revents & POLLIN)) {
            signalfd_siginfo info{};
            if (::read(signalFd, &info, sizeof info) != sizeof info)
                return;
            if (info.ssi_signo != SIGUSR1)
                return;
            writeDump("request");
        }
        if (n > 0 && (fds[1].revents & POLLIN))
            receive(admin_);
        if (n > 0 && multicast_.isOpen() && (fds[2].revents & POLLIN))
            receive(multicast_);
        flush();
    }
}

} // namespace quorvane::sim
