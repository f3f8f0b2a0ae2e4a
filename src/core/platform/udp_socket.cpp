#include "platform/udp_socket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorvane::platform {

namespace {
sockaddr_in toSockaddr(std::uint32_t address, std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(address);
    return sa;
}
} // namespace

std::string ipv4Text(std::uint32_t a) {
    return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 0xFF) + "." +
           std::to_string((a >> 8) & 0xFF) + "." + std::to_string(a & 0xFF);
}

std::string Ipv4Endpoint::text() const { return ipv4Text(address) + ":" + std::to_string(port); }

std::optional<std::uint32_t> parseIpv4(const std::string& text) {
    in_addr a{};
    if (::inet_pton(AF_INET, text.c_str(), &a) != 1) return std::nullopt;
    return ntohl(a.s_addr);
}

std::optional<Ipv4Endpoint> parseEndpoint(const std::string& text, std::uint16_t defaultPort) {
    auto colon = text.find(':');
    auto address = parseIpv4(text.substr(0, colon));
    if (!address) return std::nullopt;
    Ipv4Endpoint e{*address, defaultPort};
    if (colon != std::string::npos) {
        const std::string digits = text.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        unsigned long port = std::stoul(digits);
        if (port > 65535) return std::nullopt;
        e.port = static_cast<std::uint16_t>(port);
    }
    return e;
}

Wakeup::Wakeup() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
Wakeup::~Wakeup() {
    if (fd_ >= 0) ::close(fd_);
}
void Wakeup::signal() {
    std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(fd_, &one, sizeof one);
}
void Wakeup::consume() {
    std::uint64_t v = 0;
    [[maybe_unused]] auto n = ::read(fd_, &v, sizeof v);
}

bool Wakeup::wait(int timeoutMs) const {
    pollfd p{fd_, POLLIN, 0};
    int r;
    while ((r = ::poll(&p, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    return r > 0;
}

UdpSocket::~UdpSocket() { close(); }

bool UdpSocket::open() {
    close();
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) errno_ = errno;
    return fd_ >= 0;
}

void UdpSocket::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

namespace {
bool setInt(int fd, int level, int name, int value, int& err) {
    if (::setsockopt(fd, level, name, &value, sizeof value) == 0) return true;
    err = errno;
    return false;
}
} // namespace

bool UdpSocket::setBroadcast(bool on) { return setInt(fd_, SOL_SOCKET, SO_BROADCAST, on, errno_); }
bool UdpSocket::setReuseAddress(bool on) {
    return setInt(fd_, SOL_SOCKET, SO_REUSEADDR, on, errno_);
}
bool UdpSocket::setReceiveBuffer(int bytes) {
    // The system caps the ordinary request (net.core.rmem_max, often 208 KiB); a process that
    // may administer the network gets the size it asks for.
    int ignored = 0;
    if (setInt(fd_, SOL_SOCKET, SO_RCVBUFFORCE, bytes, ignored))
        return true;
    return setInt(fd_, SOL_SOCKET, SO_RCVBUF, bytes, errno_);
}
bool UdpSocket::setMulticastLoop(bool on) {
    unsigned char v = on ? 1 : 0;
    if (::setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_LOOP, &v, sizeof v) == 0) return true;
    errno_ = errno;
    return false;
}
bool UdpSocket::enablePacketInfo() { return setInt(fd_, IPPROTO_IP, IP_PKTINFO, 1, errno_); }

bool UdpSocket::bind(std::uint32_t address, std::uint16_t port) {
    auto sa = toSockaddr(address, port);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0) return true;
    errno_ = errno;
    return false;
}

std::optional<Ipv4Endpoint> UdpSocket::localEndpoint() const {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return std::nullopt;
    return Ipv4Endpoint{ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port)};
}

bool UdpSocket::setMulticastInterface(std::uint32_t interfaceAddress) {
    in_addr a{};
    a.s_addr = htonl(interfaceAddress);
    if (::setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_IF, &a, sizeof a) == 0) return true;
    errno_ = errno;
    return false;
}

namespace {
bool membership(int fd, int option, std::uint32_t group, std::uint32_t iface, int& err) {
    ip_mreq m{};
    m.imr_multiaddr.s_addr = htonl(group);
    m.imr_interface.s_addr = htonl(iface);
    if (::setsockopt(fd, IPPROTO_IP, option, &m, sizeof m) == 0) return true;
    err = errno;
    return false;
}
} // namespace

bool UdpSocket::addMembership(std::uint32_t group, std::uint32_t iface) {
    return membership(fd_, IP_ADD_MEMBERSHIP, group, iface, errno_);
}
bool UdpSocket::dropMembership(std::uint32_t group, std::uint32_t iface) {
    return membership(fd_, IP_DROP_MEMBERSHIP, group, iface, errno_);
}

int UdpSocket::sendTo(Bytes data, const Ipv4Endpoint& to, int flags) {
    auto sa = toSockaddr(to.address, to.port);
    auto n = ::sendto(fd_, data.data(), data.size(), flags | MSG_NOSIGNAL,
                      reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    if (n < 0) errno_ = errno;
    return static_cast<int>(n);
}

int UdpSocket::sendFrom(Bytes data, const Ipv4Endpoint& to, std::uint32_t source) {
    auto sa = toSockaddr(to.address, to.port);
    iovec iov{const_cast<std::uint8_t*>(data.data()), data.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr msg{};
    msg.msg_name = &sa;
    msg.msg_namelen = sizeof sa;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&msg);
    c->cmsg_level = IPPROTO_IP;
    c->cmsg_type = IP_PKTINFO;
    c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    info.ipi_spec_dst.s_addr = htonl(source);
    std::memcpy(CMSG_DATA(c), &info, sizeof info);
    auto n = ::sendmsg(fd_, &msg, MSG_NOSIGNAL);
    if (n < 0) errno_ = errno;
    return static_cast<int>(n);
}

UdpSocket::Wait UdpSocket::waitReadable(const Wakeup* wakeup, int timeoutMs) {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeup ? wakeup->fd() : -1, POLLIN, 0}};
    for (;;) {
        int r = ::poll(fds, wakeup ? 2 : 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            errno_ = errno;
            return Wait::Error;
        }
        if (r == 0) return Wait::Woken;
        if (wakeup && (fds[1].revents & POLLIN)) return Wait::Woken;
        if (fds[0].revents & (POLLIN | POLLERR)) return Wait::Readable;
        if (fds[0].revents & POLLNVAL) return Wait::Error;
        return Wait::Readable;
    }
}

int UdpSocket::receiveFrom(MutableBytes buffer, Ipv4Endpoint& from, std::uint32_t* destination) {
    sockaddr_in sa{};
    iovec iov{buffer.data(), buffer.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr msg{};
    msg.msg_name = &sa;
    msg.msg_namelen = sizeof sa;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    ssize_t n;
    do {
        n = ::recvmsg(fd_, &msg, 0);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        errno_ = errno;
        return -1;
    }
    from = {ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port)};
    if (destination) {
        *destination = 0;
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info{};
                std::memcpy(&info, CMSG_DATA(c), sizeof info);
                *destination = ntohl(info.ipi_addr.s_addr);
            }
        }
    }
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(n), buffer.size()));
}

} // namespace quorvane::platform
