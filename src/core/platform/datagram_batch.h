#pragma once
// Many datagrams taken from a socket with one system call (recvmmsg), so that a receive
// thread keeps pace with a burst of thousands of replies instead of losing them to a full
// socket buffer.
#include <cstddef>
#include <memory>

#include "platform/bytes.h"
#include "platform/udp_socket.h"

namespace quorvane::platform {

class DatagramBatch {
  public:
    // Room for slots datagrams of at most slotBytes each (longer ones are cut).
    DatagramBatch(std::size_t slots, std::size_t slotBytes);
    ~DatagramBatch();
    DatagramBatch(const DatagramBatch&) = delete;
    DatagramBatch& operator=(const DatagramBatch&) = delete;

    // Takes the datagrams waiting on socket now, at most slots of them, without waiting for
    // more: their count, 0 when none waits, -1 on a socket error (see lastErrno).
    int receive(UdpSocket& socket);
    // The datagrams of the last receive.
    std::size_t size() const;
    Bytes datagram(std::size_t i) const;
    const Ipv4Endpoint& source(std::size_t i) const;
    int lastErrno() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quorvane::platform
