#include "protocol/scramble.h"

#include <bit>

namespace quorvane {

std::uint32_t scramble(std::uint32_t word, std::uint32_t key) {
    static constexpr std::uint8_t kSubstitution[16] = {9, 2,  14, 7, 0,  11, 5,  12,
                                                       3, 15, 6,  1, 13, 8,  10, 4};
    std::uint32_t s = 0;
    for (int i = 0; i < 8; ++i)
        s |= std::uint32_t(kSubstitution[(word >> (4 * i)) & 0xF]) << (4 * i);
    return std::rotl(s ^ key, static_cast<int>(key % 32));
}

} // namespace quorvane
