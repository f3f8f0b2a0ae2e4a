#pragma once
// Identity documents carry their text as UCS-2 little-endian; the tool keeps it in the local
// code page (GBK) like every other outside text.
#include <functional>
#include <string>

#include "platform/bytes.h"

namespace quorvane {

using LogSink = std::function<void(const std::string&)>;

// UCS-2 little-endian text up to its first zero character (or the end of the bytes) as GBK.
// A character without a GBK form becomes '?', and the conversion failure is written to log as
// "UNICODE2LOCAL error2, lastError=%d, wcslen=%d, bufferLen=%d\n".
std::string UNICODE2LOCAL(Bytes ucs2le, const LogSink& log = {});

} // namespace quorvane
