#pragma once
// One controller's device-information reply laid out by hand at the documented offsets, and
// the record it stands for: the shared oracle of the block decoder, the encoder and the texts
// made from a record. Nothing here goes through the code under test.
#include <string>
#include <vector>

#include "model/device_info.h"

namespace quorvane::test {

// The payload: the basic block (116 bytes) or the extended one (192), then the 424-byte
// door-access block, with the block sums set.
std::vector<std::uint8_t> goldenPayload(bool extended);
// The reply frame around it: code 3, status 1, the length and the frame's checksum.
std::string goldenReply(bool extended);
// What the payload decodes into, starting from a default record.
DeviceUIInfo goldenRecord(bool extended);

} // namespace quorvane::test
