// A run of rights requests against one simulated controller: the first byte chooses the right
// mode and the storage, then each request is one byte of command and one byte of payload
// length followed by the payload. Afterwards the count word must equal the used slots.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "sim_command_table.h"
#include "sim_right_storage.h"

using namespace quorvane;
using namespace quorvane::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CommandTable table;
    static const std::uint8_t kCommands[] = {18, 20, 22, 24, 52, 114, 116};
    if (size == 0)
        return 0;
    SimController c;
    setRightStorage(c.config, data[0] % 3, (data[0] & 0x80) != 0);
    std::size_t pos = 1;
    while (pos + 2 <= size) {
        SimRequest r;
        r.command = kCommands[data[pos] % sizeof kCommands];
        std::size_t length = std::min<std::size_t>(data[pos + 1], size - pos - 2);
        // A copy of exactly the payload's size, so that any overrun is caught.
        std::vector<std::uint8_t> payload(data + pos + 2, data + pos + 2 + length);
        r.payload = payload;
        table.answer(c, r);
        pos += 2 + length;
    }
    std::uint32_t used = 0;
    for (auto slot = nextUsedSlot(c, 0); slot; slot = nextUsedSlot(c, *slot + 1))
        ++used;
    if (used != storedRightCount(c))
        std::abort();
    return 0;
}
