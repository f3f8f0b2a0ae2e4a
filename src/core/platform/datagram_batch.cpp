#include "platform/datagram_batch.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <vector>

namespace quorvane::platform {

struct DatagramBatch::Impl {
    std::size_t slotBytes;
    std::vector<std::uint8_t> buffer;
    std::vector<iovec> iov;
    std::vector<sockaddr_in> names;
    std::vector<mmsghdr> headers;
    std::vector<Ipv4Endpoint> sources;
    std::size_t count = 0;
    int error = 0;
};

DatagramBatch::DatagramBatch(std::size_t slots, std::size_t slotBytes)
    : impl_(std::make_unique<Impl>()) {
    Impl& d = *impl_;
    d.slotBytes = slotBytes;
    d.buffer.resize(slots * slotBytes);
    d.iov.resize(slots);
    d.names.resize(slots);
    d.headers.resize(slots);
    d.sources.resize(slots);
}

DatagramBatch::~DatagramBatch() = default;

int DatagramBatch::receive(UdpSocket& socket) {
    Impl& d = *impl_;
    d.count = 0;
    for (std::size_t i = 0; i < d.headers.size(); ++i) {
        d.iov[i] = {d.buffer.data() + i * d.slotBytes, d.slotBytes};
        d.headers[i] = {};
        d.headers[i].msg_hdr.msg_name = &d.names[i];
        d.headers[i].msg_hdr.msg_namelen = sizeof(sockaddr_in);
        d.headers[i].msg_hdr.msg_iov = &d.iov[i];
        d.headers[i].msg_hdr.msg_iovlen = 1;
    }
    int n;
    do {
        n = ::recvmmsg(socket.fd(), d.headers.data(), static_cast<unsigned>(d.headers.size()),
                       MSG_DONTWAIT, nullptr);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        d.error = errno;
        return -1;
    }
    d.count = static_cast<std::size_t>(n);
    for (std::size_t i = 0; i < d.count; ++i)
        d.sources[i] = {ntohl(d.names[i].sin_addr.s_addr), ntohs(d.names[i].sin_port)};
    return n;
}

std::size_t DatagramBatch::size() const {
    return impl_->count;
}

Bytes DatagramBatch::datagram(std::size_t i) const {
    const Impl& d = *impl_;
    std::size_t length = std::min<std::size_t>(d.headers[i].msg_len, d.slotBytes);
    return Bytes(d.buffer.data() + i * d.slotBytes, length);
}

const Ipv4Endpoint& DatagramBatch::source(std::size_t i) const {
    return impl_->sources[i];
}

int DatagramBatch::lastErrno() const {
    return impl_->error;
}

} // namespace quorvane::platform
