#pragma once
// Device-information replies built the way a controller builds them, for decoding tests.
#include <cstdint>
#include <string>

#include "model/device_info.h"

namespace quorvane::test {

// A controller's reply frame around payload: preamble, the device id and sequence as given, code,
// status, the length big-endian, the payload and the frame's checksum.
std::string replyFrame(const std::string& idAndSequence, int code, int status,
                       const std::string& payload);
// A reply frame (code 3, status 1) carrying the record's basic or extended block and its
// door-access block, with correct checksums.
std::string deviceInfoReply(const DeviceUIInfo& record, bool extended);
// A record with every field set to something recognisable.
DeviceUIInfo sampleDevice(int n = 1);
// Recomputes the frame checksum of a reply after a test changed its bytes.
void refreshChecksum(std::string& frame);
// The four bytes of v, low byte first; the little-endian u32 at `at` of s.
std::string le32(std::uint32_t v);
std::uint32_t u32At(const std::string& s, std::size_t at);

// The request header of a loopback session's frames as hex: preamble, no operation password,
// target 0x0102, sequence 0x1234.
inline const std::string kSessionHeader =
    "55555555555555555555555555555555FFFFFFFFFFFFFFFF01023412";

} // namespace quorvane::test
