#pragma once
// Payloads of the memory and firmware commands (integers little-endian).
#include <cstdint>
#include <vector>

#include "platform/bytes.h"

namespace quorvane::page_command {
inline constexpr std::uint8_t kReadPage = 32;
inline constexpr std::uint8_t kWritePage = 34;
inline constexpr std::uint8_t kClearProgram = 72;
inline constexpr std::uint8_t kPlaySound = 82;
inline constexpr std::uint8_t kCommitFirmware = 128;
} // namespace quorvane::page_command

namespace quorvane {

// Read page 32: address, memory type.
std::vector<std::uint8_t> readPagePayload(std::uint32_t address, std::uint32_t type);
// Write page 34: address, memory type, the 512 bytes of the page.
std::vector<std::uint8_t> writePagePayload(std::uint32_t address, std::uint32_t type, Bytes page);
// Firmware commit 128: base address, file size, byte sum.
std::vector<std::uint8_t> commitPayload(std::uint32_t base, std::uint32_t size, std::uint32_t sum);
// The sum of every byte as an unsigned 32-bit number (wrapping).
std::uint32_t byteSum(Bytes data);

} // namespace quorvane
