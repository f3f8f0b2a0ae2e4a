#pragma once
// Named fields of the 424-byte door-access block (offsets D of the block, little-endian).
// Kept only for quorvane-sim until its own encoder replaces it; the tool reads the block
// through the field table (model/config_table.h), which is the one description of it.
#include <array>
#include <cstdint>

#include "model/device_info.h"
#include "platform/bytes.h"

namespace quorvane::door {

inline constexpr std::size_t kLogCount = 0;
inline constexpr std::size_t kSystemStatus = 4;
inline constexpr std::size_t kRightCount = 8;
inline constexpr std::size_t kReportIndex = 12;
inline constexpr std::size_t kInCount = 20;
inline constexpr std::size_t kOutCount = 22;
inline constexpr std::size_t kInsideCount = 24;
inline constexpr std::size_t kInsideLimit = 26;
inline constexpr std::size_t kRunState = 28;
inline constexpr std::size_t kSerialPorts = 32;
inline constexpr std::size_t kSerialPortSize = 36;
inline constexpr std::size_t kWiegandReaders = 176;
inline constexpr std::size_t kReaderSettingSize = 28;
inline constexpr std::size_t kRelays = 288;
inline constexpr std::size_t kSignals = 304;
inline constexpr std::size_t kTimeZones = 336;
inline constexpr std::size_t kOptionsHigh = 400;
inline constexpr std::size_t kRightMode = 404;
inline constexpr std::size_t kOptionsLow = 408;
inline constexpr std::size_t kProcMode = 412;
inline constexpr std::size_t kTimerTask = 417;

using Block = std::array<std::uint8_t, kDoorBlockSize>;

inline std::uint32_t u32(const Block& b, std::size_t d) {
    return ByteReader(b, d).u32le();
}
inline std::uint16_t u16(const Block& b, std::size_t d) {
    return ByteReader(b, d).u16le();
}

inline std::uint32_t logCount(const Block& b) {
    return u32(b, kLogCount);
}
inline std::uint32_t systemStatus(const Block& b) {
    return u32(b, kSystemStatus);
}
inline std::uint32_t rightCount(const Block& b) {
    return u32(b, kRightCount);
}
inline std::uint32_t reportIndex(const Block& b) {
    return u32(b, kReportIndex);
}
inline std::uint32_t rightMode(const Block& b) {
    return u32(b, kRightMode);
}
inline std::uint32_t runState(const Block& b) {
    return u32(b, kRunState);
}

} // namespace quorvane::door
