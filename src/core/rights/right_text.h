#pragma once
// The one-line text form of a right, used in right files, result lists and messages:
// 【序号=…;卡号=…;生效时间=…;失效时间=…;时段=…;…;用户标志3=…;】, with 名称=… in place of the
// two validity times in right-mode 1. Text here is UTF-8; files hold it in GBK.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "rights/card_number.h"
#include "rights/x_right.h"

namespace quorvane {

struct RightTextOptions {
    int rightMode = 0;
    bool threeByte = false; // force-3byte-card: display, and the three-byte reading of cards
};

// sequence is the 序号 a right read back from a controller carries, 0 otherwise. With
// emptyIfZero a record whose card text is all zeros gives the empty text.
std::string formatRightText(const xRight& r, std::uint32_t sequence,
                            const RightTextOptions& options, bool emptyIfZero = false);

// A right as a controller reports it: with hasSequence a 4-byte little-endian 序号 comes
// first. Nothing (empty text) when the bytes are too few.
std::string formatRightReply(Bytes bytes, bool hasSequence, const RightTextOptions& options,
                             bool emptyIfZero = false);

// The inverse of formatRightText. A non-zero site code scrambles the card words (right-file
// upload). The error text names the line or the card that was refused.
std::variant<xRight, std::string> parseRightText(std::string_view line,
                                                 const RightTextOptions& options,
                                                 std::uint32_t code = 0);

// The card field of a right line as written (UTF-8, cut as the scan cuts it), which names the
// right in a right file; nothing when the line does not begin like the text form.
std::optional<std::string> rightLineCardText(std::string_view line);

// "权限格式错误：%s", for a line that is not in the text form.
std::string invalidRightLineMessage(std::string_view line);

// The location word of the text form: "未知", "外部", "内部", "机密区".
std::string_view locationText(unsigned location);

} // namespace quorvane
