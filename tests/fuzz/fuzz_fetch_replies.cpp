// Record (49) and identity (85) replies arrive from the network and become lines of a fetch's
// text: any status and payload give a line, never a read past the payload.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "idcard/identity_fetch.h"
#include "records/log_fetch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvane;
    if (size < 2)
        return 0;
    const std::uint8_t status = data[0] & 1;
    // A copy of exactly the received length, so that any read beyond it is caught.
    std::vector<std::uint8_t> payload(data + 1, data + size);
    RecordDecodeOptions options;
    options.threeByte = (data[0] & 2) != 0;
    (void)recordReplyLine(status, payload, options);
    (void)identityReplyLine(status, payload, "127.0.0.1:1", (data[0] >> 2) & 1);
    return 0;
}
