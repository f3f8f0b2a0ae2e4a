// The payloads of the replies to the two reads of a right (53 with a position, 117 without):
// any bytes read only what arrived and give a position and a notice.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "rights/right_frames.h"
#include "rights/right_replies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    using namespace quorvane;
    RightTextOptions options{data[0] % 3, (data[0] & 0x80) != 0};
    // A copy of exactly the received size, so that any overrun is caught.
    std::vector<std::uint8_t> payload(data + 1, data + size);
    if (auto read = readPositionReply(payload)) {
        if (read->right.size() > 24 || read->right.size() + 4 > payload.size())
            std::abort();
    }
    for (bool withPosition : {false, true})
        if (readReplyNotice(data[0] & 1 ? 1 : 0, payload, withPosition, options).empty())
            std::abort();
    return 0;
}
