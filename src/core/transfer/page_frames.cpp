#include "transfer/page_frames.h"

#include <numeric>

namespace quorvane {

std::vector<std::uint8_t> readPagePayload(std::uint32_t address, std::uint32_t type) {
    std::vector<std::uint8_t> p(8);
    ByteWriter(p).putU32le(address).putU32le(type);
    return p;
}

std::vector<std::uint8_t> writePagePayload(std::uint32_t address, std::uint32_t type, Bytes page) {
    std::vector<std::uint8_t> p(8 + page.size());
    ByteWriter(p).putU32le(address).putU32le(type).putBytes(page);
    return p;
}

std::vector<std::uint8_t> commitPayload(std::uint32_t base, std::uint32_t size, std::uint32_t sum) {
    std::vector<std::uint8_t> p(12);
    ByteWriter(p).putU32le(base).putU32le(size).putU32le(sum);
    return p;
}

std::uint32_t byteSum(Bytes data) {
    return std::accumulate(data.begin(), data.end(), std::uint32_t{0},
                           [](std::uint32_t s, std::uint8_t b) { return s + b; });
}

} // namespace quorvane
