// Right files come from disks and other sites: any bytes must give rights or refusals, every
// right a payload of 24 bytes, each card at most once and in ascending order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "infra/codepage.h"
#include "rights/right_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    using namespace quorvane;
    RightSettings settings;
    settings.rightMode = data[0] % 3;
    settings.cards.threeByte = (data[0] & 0x80) != 0;
    settings.siteCode = (data[0] & 0x40) ? 0x1234u : 0u;
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    RightFileContent c = readRightFile(bytes, settings);
    if (c.refused > c.lines || c.items.size() > static_cast<std::size_t>(c.lines))
        std::abort();
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i].payload.size() != 24)
            std::abort();
        if (i > 0 && !(toGbk(c.items[i - 1].card) < toGbk(c.items[i].card)))
            std::abort();
    }
    return 0;
}
