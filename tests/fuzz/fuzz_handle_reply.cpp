// Any datagram through the reply handler, with every standard handler registered.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "protocol/reply_dispatch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quorvane::ReplyDispatcher dispatcher(nullptr, "/nonexistent-quorvane-fuzz",
                                                [](const std::string&) {});
    // A copy of exactly the received size, so that any overrun is caught.
    std::vector<std::uint8_t> datagram(data, data + size);
    dispatcher.handleReply(datagram, "127.0.0.1:65534", true);
    return 0;
}
