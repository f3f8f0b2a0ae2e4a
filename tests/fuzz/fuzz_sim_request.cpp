// Any datagram through a simulated controller of each block form: the request reader, the
// handler of whatever code it carries, the reply built from the answer, and the state dump.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim_command_table.h"
#include "sim_dump.h"
#include "sim_frame.h"

using namespace quorvane::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CommandTable table;
    // A copy of exactly the received size, so that any overrun is caught.
    std::vector<std::uint8_t> datagram(data, data + size);
    auto request = readRequest(datagram);
    if (!request)
        return 0;
    for (bool extended : {false, true}) {
        ControllerSeed seed;
        seed.address = 0x7F000001;
        seed.namePrefix = "门禁";
        seed.extended = extended;
        std::vector<SimController> controllers{makeController(seed)};
        auto answer = table.answer(controllers[0], *request);
        if (answer)
            buildReply(controllers[0].targetId(), request->sequence, answer->code, answer->reply);
        stateDump(1, "fuzz", controllers);
    }
    return 0;
}
