#include "sim_memory_access.h"

#include <algorithm>

namespace quorvane::sim {

namespace {
constexpr std::uint32_t kPageMask = ~static_cast<std::uint32_t>(kPageSize - 1);
} // namespace

const MemoryState::Page* memoryPage(const MemoryState& memory, MemoryType type,
                                    std::uint32_t address) {
    const auto& pages = memory.pages[type];
    auto it = pages.find(address & kPageMask);
    return it == pages.end() ? nullptr : &it->second;
}

void readMemory(const MemoryState& memory, MemoryType type, std::uint32_t address,
                MutableBytes out) {
    std::size_t done = 0;
    while (done < out.size()) {
        std::uint32_t at = address + static_cast<std::uint32_t>(done);
        std::size_t offset = at & (kPageSize - 1);
        std::size_t n = std::min(out.size() - done, kPageSize - offset);
        const MemoryState::Page* page = memoryPage(memory, type, at);
        for (std::size_t i = 0; i < n; ++i)
            out[done + i] = page ? (*page)[offset + i] : 0;
        done += n;
    }
}

void writeMemory(MemoryState& memory, MemoryType type, std::uint32_t address, Bytes bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::uint32_t at = address + static_cast<std::uint32_t>(done);
        std::size_t offset = at & (kPageSize - 1);
        std::size_t n = std::min(bytes.size() - done, kPageSize - offset);
        // A new page starts as zeros (value-initialised).
        MemoryState::Page& page = memory.pages[type][at & kPageMask];
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(done), n,
                    page.begin() + static_cast<std::ptrdiff_t>(offset));
        done += n;
    }
}

std::uint32_t readMemoryU32(const MemoryState& memory, MemoryType type, std::uint32_t address) {
    std::uint8_t b[4];
    readMemory(memory, type, address, b);
    return ByteReader(b).u32le();
}

void writeMemoryU32(MemoryState& memory, MemoryType type, std::uint32_t address,
                    std::uint32_t value) {
    std::uint8_t b[4];
    ByteWriter(b).putU32le(value);
    writeMemory(memory, type, address, b);
}

} // namespace quorvane::sim
