#pragma once
// A controller's log records and the identity documents it cached. Its log count in the
// door-access block is the number of records.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::sim {

inline constexpr std::size_t kLogRecordSize = 16;

struct LogsState {
    std::vector<std::array<std::uint8_t, kLogRecordSize>> records; // oldest first
    std::vector<std::string> identityDocuments;                    // as the reader gave them
};

} // namespace quorvane::sim
