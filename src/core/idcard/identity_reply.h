#pragma once
// The payload of an identity reply (code 85): the record index, then the identity message —
// a 14-byte header, the 256-byte text block, the 1,024-byte photo, one byte, and an appendix
// text up to the end of the payload.
#include <cstdint>
#include <optional>
#include <string>

#include "idcard/identity_info.h"
#include "platform/bytes.h"

namespace quorvane {

inline constexpr std::size_t kIdentityPhotoSize = 1024;

struct IdentityMessage {
    std::uint32_t index = 0;
    Bytes textBlock;      // 256 bytes
    Bytes photo;          // 1,024 bytes, or empty when the payload ends before them
    std::string appendix; // UTF-8
};

// Nothing when the payload does not hold the index and the whole text block.
std::optional<IdentityMessage> decodeIdentityReply(Bytes payload);

// The line the reply handler shows as "操作成功，证件信息为=%s": the index as "%05d" and
// fourteen comma-led fields; or "解析身份证信息失败！", or "此位置没有数据或者数据错误！" when
// the number fails the identity-number check.
std::string identityLine(Bytes payload, const std::string& senderText, int parseVersion,
                         const LogSink& log = {});
std::string identityLine(const IdentityMessage& message, const std::string& senderText,
                         int parseVersion, const LogSink& log = {});

inline constexpr std::string_view kIdentityParseFailed = "解析身份证信息失败！";
inline constexpr std::string_view kIdentityNoData = "此位置没有数据或者数据错误！";

} // namespace quorvane
