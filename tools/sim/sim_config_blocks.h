#pragma once
// The configuration blocks as a controller sends them: the basic block (116 bytes, or 192 in
// the extended form) and the 424-byte door-access block. The device-information reply carries
// one after the other; the basic-configuration write carries an extended basic block.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/bytes.h"
#include "sim_config_state.h"

namespace quorvane::sim {

inline constexpr std::size_t kBasicFormSize = 116;
inline constexpr std::size_t kExtendedFormSize = 192;
inline constexpr std::size_t kDoorBlockSize = 424;
inline constexpr std::uint8_t kExtendedMarker = 0xEE;

// The basic block in the basic form (116 bytes, its sum at 115) or the extended form (192
// bytes: the basic form, PPPoE account and password, area server, the marker 0xEE at 190 and
// a second sum at 191).
std::string encodeBasicBlock(const BasicSettings& settings, bool extended);

// The door-access block: the counters with the log and right counts in front, then the
// settings.
std::string encodeDoorBlock(const DoorCounters& counters, std::uint32_t logCount,
                            std::uint32_t rightCount, const DoorSettings& settings);

// The fields of an extended basic block (at least 192 bytes), or nothing when either of its
// sums is wrong.
std::optional<BasicSettings> decodeBasicBlock(Bytes block);

} // namespace quorvane::sim
