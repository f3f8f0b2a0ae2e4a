#pragma once
// The minimal page reader the memory benchmarks compare the tool with: one page request, then
// the reply that echoes its sequence number (asked again after 10 s of silence), its data
// copied, then the next page. No batch runner, no dispatcher, no log.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/udp_socket.h"
#include "protocol/frame.h"
#include "transfer/memory_images.h"
#include "transfer/page_frames.h"

namespace quorvane::bench {

// Pages first..end-1 of one memory into image (at their addresses). Pages read.
inline long stopAndWaitRead(const std::string& ip, std::uint16_t port, MemoryType type, long first,
                            long end, std::vector<std::uint8_t>& image) {
    platform::UdpSocket socket;
    if (!socket.open() || !socket.bind(0, 0))
        return 0;
    const platform::Ipv4Endpoint to{*platform::parseIpv4(ip), port};
    ProtocolState protocol;
    std::vector<std::uint8_t> buffer(2048);
    long read = 0;
    for (long p = first; p < end; ++p) {
        const auto address = static_cast<std::uint32_t>(p) * kPageBytes;
        for (bool done = false; !done;) {
            std::string frame =
                buildRequest(0xFFFF, page_command::kReadPage,
                             readPagePayload(address, static_cast<std::uint32_t>(type)), protocol);
            FrameInfo sent = inspectFrame(asBytes(frame));
            socket.sendTo(asBytes(frame), to);
            while (socket.waitReadable(nullptr, 10000) == platform::UdpSocket::Wait::Readable) {
                platform::Ipv4Endpoint from;
                int n = socket.receiveFrom(buffer, from);
                if (n <= 0)
                    continue;
                Bytes got(buffer.data(), static_cast<std::size_t>(n));
                FrameInfo reply = inspectFrame(got);
                if (!reply.isReply || reply.sequence != sent.sequence ||
                    reply.command != page_command::kReadPage + 1 ||
                    got.size() < offsets::kPayload + 8 + kPageBytes)
                    continue;
                std::copy_n(got.begin() + offsets::kPayload + 8, kPageBytes,
                            image.begin() + address);
                done = true;
                ++read;
                break;
            }
        }
    }
    return read;
}

} // namespace quorvane::bench
