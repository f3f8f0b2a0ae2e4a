// Identity replies arrive from the network: any payload gives a line, never a read past it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "idcard/identity_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvane;
    // A copy of exactly the received length, so that any read beyond it is caught.
    std::vector<std::uint8_t> payload(data, data + size);
    for (int version : {0, 1}) {
        std::string line = identityLine(payload, "127.0.0.1:1", version);
        (void)line;
    }
    if (size >= 4 + 14 + 256) {
        auto m = decodeIdentityReply(payload);
        if (m) (void)parse2ndMsg(m->textBlock, 2, 1);
    }
    return 0;
}
