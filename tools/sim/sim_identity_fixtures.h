#pragma once
// The identity documents a simulated controller has cached: one person of each document type
// (resident card, residence permit, permanent-residence card), each message a 14-byte header,
// the 256-byte UCS-2 text block, a 1,024-byte WLT photo, one byte and a short appendix.
#include <cstddef>
#include <string>
#include <vector>

namespace quorvane::sim {

inline constexpr std::size_t kIdentityMessageSize = 14 + 256 + 1024 + 1 + 4;

std::vector<std::string> identityFixtures();

} // namespace quorvane::sim
