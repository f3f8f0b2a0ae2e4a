#pragma once
// The text fields of an identity document, decoded from its 256-byte UCS-2 text block.
// Fields are UTF-8; their byte limits count the GBK form.
#include <optional>
#include <string>

#include "idcard/unicode_local.h"
#include "platform/bytes.h"

namespace quorvane {

inline constexpr std::size_t kIdentityTextBlockSize = 256;

enum class IdentityDocument { ResidentCard, ResidencePermit, PermanentResidence };

struct IdentityInfo {
    std::string name;   // the Chinese name on a permanent-residence card
    std::string sex;    // 男 or 女
    std::string nation; // nationality, country, or empty (residence permit)
    std::string birth;
    std::string address;
    std::string number;
    std::string authority; // empty on a permanent-residence card
    std::string validFrom;
    std::string validTo;
    std::string spare1;   // always empty
    std::string spare2;   // always empty
    std::string kindText; // 身份证$…, 港澳台居住证$… or 永居证$<English name>
};

// Bytes 248..249 of the block: "J" 0 residence permit, "I" 0 permanent-residence card.
IdentityDocument identityDocumentType(Bytes textBlock);

// parseVersion is the setting 2nd-parse-ver: 0 uses only the space-separated parse. A parse
// fails when name or number comes out empty; it is then repeated with the next attempt number
// while that is below 3 (attempts 0, 1, 3 typed, 2 space-separated). Nothing when the last
// attempt failed too.
std::optional<IdentityInfo> parse2ndMsg(Bytes textBlock, int attempt, int parseVersion,
                                        const LogSink& log = {});

// The field-by-field parse of the block's layout, and the parse over runs of spaces.
std::optional<IdentityInfo> parseIdentityTyped(Bytes textBlock, const LogSink& log = {});
std::optional<IdentityInfo> parseIdentitySpaced(Bytes textBlock, const LogSink& log = {});

// The ".\id.txt" debug line: the fields separated by single spaces, ended by a line feed.
std::string identityDebugText(const IdentityInfo& info);

} // namespace quorvane
