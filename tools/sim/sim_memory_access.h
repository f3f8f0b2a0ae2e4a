#pragma once
// Bytes of a controller's memories at any address, across the 512-byte pages they are held
// in. A page nobody wrote reads as zeros; writing to it creates it.
#include <cstdint>

#include "platform/bytes.h"
#include "sim_memory_state.h"

namespace quorvane::sim {

void readMemory(const MemoryState& memory, MemoryType type, std::uint32_t address,
                MutableBytes out);
void writeMemory(MemoryState& memory, MemoryType type, std::uint32_t address, Bytes bytes);

std::uint32_t readMemoryU32(const MemoryState& memory, MemoryType type, std::uint32_t address);
void writeMemoryU32(MemoryState& memory, MemoryType type, std::uint32_t address,
                    std::uint32_t value);

// The page holding address, or null when it was never written (zeros).
const MemoryState::Page* memoryPage(const MemoryState& memory, MemoryType type,
                                    std::uint32_t address);

} // namespace quorvane::sim
