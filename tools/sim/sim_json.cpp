#include "sim_json.h"

namespace quorvane::sim {

std::string hexText(Bytes bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string digits;
    digits.reserve(2 * bytes.size());
    for (auto b : bytes) {
        digits += kDigits[b >> 4];
        digits += kDigits[b & 0x0F];
    }
    return digits;
}

} // namespace quorvane::sim
