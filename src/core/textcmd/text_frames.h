#pragma once
// The two large frames of the text commands: a free-form text command (148) and a
// fingerprint template (42). Both carry a 520-byte payload.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvane {

inline constexpr std::uint8_t kTextCommand = 148;
inline constexpr std::uint8_t kFingerTemplateCommand = 42;
inline constexpr std::size_t kTextPayloadSize = 520;
// The controller reads at most this many bytes of command text.
inline constexpr std::size_t kTextCommandBytes = 500;
inline constexpr std::size_t kFingerTemplateBytes = 498;

// Eight zero bytes, then the GBK form of the text cut to 500 bytes (never splitting a
// character), zero-padded; no terminating byte beyond the padding.
std::vector<std::uint8_t> textCommandPayload(std::string_view utf8);

// The two words 0 and 5 (u32 little-endian) the controller expects before the template, then
// the template bytes, zero-padded.
std::vector<std::uint8_t>
fingerTemplatePayload(const std::array<std::uint8_t, kFingerTemplateBytes>& templateBytes);

} // namespace quorvane
