#pragma once
// A controller's memories, addressed in 512-byte pages: firmware, EEPROM, FLASH and sound, by
// the memory type number of the page commands. Only pages that were written are held. Beside
// them: which pages the page-write command wrote, the firmware it last accepted, and the
// program erases and sounds it was asked for.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>

namespace quorvane::sim {

inline constexpr std::size_t kPageSize = 512;
enum MemoryType : std::size_t { kFirmware = 0, kEeprom = 1, kFlash = 2, kSound = 3 };
inline constexpr std::size_t kMemoryTypes = 4;

struct FirmwareCommit {
    std::uint32_t size = 0;
    std::uint32_t sum = 0;
};

struct MemoryState {
    using Page = std::array<std::uint8_t, kPageSize>;
    std::array<std::map<std::uint32_t, Page>, kMemoryTypes> pages; // by page address
    std::array<std::set<std::uint32_t>, kMemoryTypes> written;     // addresses written by 34
    std::optional<FirmwareCommit> committed; // the last firmware whose size and sum matched
    int refusedCommits = 0;
    int programErases = 0;
    int soundsPlayed = 0;
    std::array<std::uint8_t, 3> lastSound{}; // play count, sound number, flag
};

} // namespace quorvane::sim
