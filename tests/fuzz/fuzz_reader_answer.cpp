// An RS-485 reader's answer comes from a serial line: any bytes are judged without a read
// past them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "protocol/reader_flag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvane;
    // A copy of exactly the received length, so that any read beyond it is caught.
    std::vector<std::uint8_t> answer(data, data + size);
    for (int flag : {1, 3, 255})
        (void)readerFlagAccepted(answer, static_cast<std::uint8_t>(flag));
    return 0;
}
