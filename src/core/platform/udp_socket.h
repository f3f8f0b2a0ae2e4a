#pragma once
// An IPv4 datagram socket. The receive side can be woken from another thread through a
// Wakeup, so a receive thread stops without anything sent on the network.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/bytes.h"

namespace quorvane::platform {

// An IPv4 address (host byte order) and a port.
struct Ipv4Endpoint {
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    // "a.b.c.d:port"
    std::string text() const;
    bool operator==(const Ipv4Endpoint&) const = default;
};

// Dotted text to a host-order address; nothing when the text is not a dotted IPv4 address.
std::optional<std::uint32_t> parseIpv4(const std::string& text);
std::string ipv4Text(std::uint32_t address);
// "a.b.c.d:port" (or "a.b.c.d", with defaultPort) to an endpoint.
std::optional<Ipv4Endpoint> parseEndpoint(const std::string& text, std::uint16_t defaultPort);
inline bool isLoopback(std::uint32_t address) {
    return (address >> 24) == 127;
}

// An event another thread signals to end a blocking wait.
class Wakeup {
  public:
    Wakeup();
    ~Wakeup();
    Wakeup(const Wakeup&) = delete;
    Wakeup& operator=(const Wakeup&) = delete;
    void signal();
    // Clears a pending signal.
    void consume();
    // Blocks until signalled (timeoutMs below 0: without limit); true when signalled.
    bool wait(int timeoutMs = -1) const;
    int fd() const { return fd_; }

  private:
    int fd_ = -1;
};

class UdpSocket {
  public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    bool open();
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // The system error of the last failed call.
    int lastErrno() const { return errno_; }

    bool setBroadcast(bool on);
    bool setReuseAddress(bool on);
    // Asks for a receive buffer of bytes (the system caps it unless the process may
    // administer the network).
    bool setReceiveBuffer(int bytes);
    bool bind(std::uint32_t address, std::uint16_t port);
    std::optional<Ipv4Endpoint> localEndpoint() const;
    bool setMulticastLoop(bool on);
    bool setMulticastInterface(std::uint32_t interfaceAddress);
    bool addMembership(std::uint32_t group, std::uint32_t interfaceAddress);
    bool dropMembership(std::uint32_t group, std::uint32_t interfaceAddress);
    // Asks for the destination address of each datagram (IP_PKTINFO).
    bool enablePacketInfo();

    // The byte count sent, or -1.
    int sendTo(Bytes data, const Ipv4Endpoint& to, int flags = 0);
    // Sends with the given local source address (the socket must be bound to any address).
    int sendFrom(Bytes data, const Ipv4Endpoint& to, std::uint32_t source);

    enum class Wait { Readable, Woken, Error };
    // Blocks until a datagram is waiting or wakeup is signalled (a timeout below 0 waits
    // without limit; a timeout counts as Woken).
    Wait waitReadable(const Wakeup* wakeup, int timeoutMs = -1);
    // One datagram into buffer; its length (cut to the buffer), or -1. destination is filled
    // when packet information is enabled.
    int receiveFrom(MutableBytes buffer, Ipv4Endpoint& from, std::uint32_t* destination = nullptr);

  private:
    int fd_ = -1;
    int errno_ = 0;
};

} // namespace quorvane::platform
