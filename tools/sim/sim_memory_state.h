#pragma once
// A controller's memories, addressed in 512-byte pages: firmware, EEPROM, FLASH and sound, by
// the memory type number of the page commands. Only pages that were written are held.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>

namespace quorvane::sim {

inline constexpr std::size_t kPageSize = 512;
enum MemoryType : std::size_t { kFirmware = 0, kEeprom = 1, kFlash = 2, kSound = 3 };
inline constexpr std::size_t kMemoryTypes = 4;

struct MemoryState {
    using Page = std::array<std::uint8_t, kPageSize>;
    std::array<std::map<std::uint32_t, Page>, kMemoryTypes> pages; // by page address
};

} // namespace quorvane::sim
