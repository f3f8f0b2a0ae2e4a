#pragma once
// Identity documents that a controller cached, fetched by command 84 over a range of indices:
// one reply 85 per index, each turned by the reply's standard handling into
// "操作成功，证件信息为=…" (or "操作失败") in the fetch's text. The text always goes to
// "历史证件.txt", which opens; the photos of the parsed documents are decoded afterwards.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "model/device_info.h"
#include "platform/bytes.h"
#include "records/command_fetch.h"

namespace quorvane {

class PhotoDecoder;
class ToolSession;

inline constexpr std::uint8_t kGetIdentityCommand = 84;
inline constexpr const char* kIdentityHistoryFile = "历史证件.txt";

// The line of one identity reply (without its line feed).
std::string identityReplyLine(std::uint8_t status, Bytes payload, const std::string& source,
                              int parseVersion);

// Registers the handler of reply 85 (reading 2nd-parse-ver now); its lines go to the buffer
// returned.
std::shared_ptr<ReplyTextBuffer> installIdentityReplies(ToolSession& session);

// OnBnClickedGetIdinfo: "请选择要操作的设备！" without a device; a count of 0 does nothing.
// photos (may be null) decodes the photo of every document that parses.
CommandFetchResult fetchIdentities(ToolSession& session,
                                   const std::optional<DeviceUIInfo>& selected, std::uint32_t start,
                                   std::uint32_t count, PhotoDecoder* photos);

} // namespace quorvane
