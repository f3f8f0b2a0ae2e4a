#include "textcmd/text_frames.h"

#include <algorithm>

#include "infra/codepage.h"
#include "platform/bytes.h"

namespace quorvane {

namespace {
constexpr std::size_t kTextAt = 8;
constexpr std::uint32_t kFingerWord0 = 0;
constexpr std::uint32_t kFingerWord1 = 5;
} // namespace

std::vector<std::uint8_t> textCommandPayload(std::string_view utf8) {
    std::vector<std::uint8_t> payload(kTextPayloadSize, 0);
    const std::string gbk = gbkCut(utf8, kTextCommandBytes);
    std::copy(gbk.begin(), gbk.end(), payload.begin() + kTextAt);
    return payload;
}

std::vector<std::uint8_t>
fingerTemplatePayload(const std::array<std::uint8_t, kFingerTemplateBytes>& templateBytes) {
    std::vector<std::uint8_t> payload(kTextPayloadSize, 0);
    ByteWriter out(payload);
    out.putU32le(kFingerWord0);
    out.putU32le(kFingerWord1);
    for (std::uint8_t b : templateBytes)
        out.putU8(b);
    return payload;
}

} // namespace quorvane
