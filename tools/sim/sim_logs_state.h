#pragma once
// A controller's log records and the identity documents it cached. Its log count in the
// door-access block is the number of records. The records also lie in its memories where a
// controller keeps them: the current, not yet full block of 256 in the EEPROM buffer at 0x600
// and the full blocks in the FLASH ring at 0x227000 (651,520 records, then it wraps); the
// memory module reads them from there with readLogMemory.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/bytes.h"
#include "sim_memory_state.h"

namespace quorvane::sim {

struct SimController;

inline constexpr std::size_t kLogRecordSize = 16;
inline constexpr std::uint32_t kLogBufferAddress = 0x600;
inline constexpr std::uint32_t kLogBlockRecords = 256;
inline constexpr std::uint32_t kLogRingAddress = 0x227000;
inline constexpr std::uint32_t kLogRingRecords = 651520;

struct LogsState {
    std::vector<std::array<std::uint8_t, kLogRecordSize>> records; // oldest first
    std::vector<std::string> identityDocuments; // identity messages, as a reader gave them
};

// The bytes of the log areas at address (EEPROM buffer or FLASH ring) as the records lay them
// out, zeros where no record is; false, with out untouched, when the range is not wholly
// inside one log area.
bool readLogMemory(const LogsState& logs, MemoryType type, std::uint32_t address, MutableBytes out);

// Appends count test records of every kind, subtype and source.
void appendTestRecords(SimController& c, std::uint32_t count);
// Empties the log; nothing is reported any more.
void clearLogRing(SimController& c);
// The state a controller starts with: records test records (half of them reported) and the
// fixture identity documents.
void seedLogs(SimController& c, long records);

} // namespace quorvane::sim
