#include "idcard/identity_reply.h"

#include <cstdint>
#include <cstdio>

#include "infra/codepage.h"
#include "rights/card_number.h"

namespace quorvane {
namespace {
constexpr std::size_t kIndexSize = 4;
constexpr std::size_t kHeaderSize = 14;
constexpr std::size_t kPhotoOffset = kHeaderSize + kIdentityTextBlockSize;  // 270
constexpr std::size_t kAppendixOffset = kPhotoOffset + kIdentityPhotoSize + 1; // 1,295
} // namespace

std::optional<IdentityMessage> decodeIdentityReply(Bytes payload) {
    ByteReader in(payload);
    IdentityMessage m;
    m.index = in.u32le();
    Bytes message = payload.subspan(std::min(kIndexSize, payload.size()));
    if (!in.ok() || message.size() < kPhotoOffset) return std::nullopt;
    m.textBlock = message.subspan(kHeaderSize, kIdentityTextBlockSize);
    if (message.size() >= kPhotoOffset + kIdentityPhotoSize)
        m.photo = message.subspan(kPhotoOffset, kIdentityPhotoSize);
    if (message.size() > kAppendixOffset)
        m.appendix = fromGbk(fieldText(message.subspan(kAppendixOffset)));
    return m;
}

std::string identityLine(const IdentityMessage& m, const std::string& senderText,
                         int parseVersion, const LogSink& log) {
    auto info = parse2ndMsg(m.textBlock, 0, parseVersion, log);
    if (!info) return std::string(kIdentityParseFailed);
    if (!isValidIdNumber(info->number) || info->number.size() != 18)
        return std::string(kIdentityNoData);
    char index[16];
    // The index word prints as a signed number: an index of 0xFFFFFFFF shows as "-0001".
    std::snprintf(index, sizeof index, "%05d", static_cast<std::int32_t>(m.index));
    std::string line = index;
    const IdentityInfo& i = *info;
    for (const std::string* field :
         {&i.name, &i.sex, &i.nation, &i.birth, &i.address, &i.number, &i.authority,
          &i.validFrom, &i.validTo, &i.spare1, &i.spare2, &i.kindText, &senderText, &m.appendix}) {
        line += ',';
        line += *field;
    }
    return line;
}

std::string identityLine(Bytes payload, const std::string& senderText, int parseVersion,
                         const LogSink& log) {
    auto m = decodeIdentityReply(payload);
    if (!m) return std::string(kIdentityParseFailed);
    return identityLine(*m, senderText, parseVersion, log);
}

} // namespace quorvane
