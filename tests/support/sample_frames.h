#pragma once
// Device-information replies built the way a controller builds them, for decoding tests.
#include <string>

#include "model/device_info.h"

namespace quorvane::test {

// A reply frame (code 3, status 1) carrying the record's basic or extended block and its
// door-access block, with correct checksums.
std::string deviceInfoReply(const DeviceUIInfo& record, bool extended);
// A record with every field set to something recognisable.
DeviceUIInfo sampleDevice(int n = 1);
// Recomputes the frame checksum of a reply after a test changed its bytes.
void refreshChecksum(std::string& frame);

} // namespace quorvane::test
