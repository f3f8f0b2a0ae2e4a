#include "rights/right_builder.h"

#include "infra/codepage.h"
#include "model/packed_time.h"

namespace quorvane {

std::variant<CardClassification, std::string> cardOfText(std::string_view utf8Card,
                                                         const RightSettings& settings) {
    return classifyCardText(utf8Card, CardSource::NumberField, settings.cards);
}

xRight buildRight(const CardClassification& card, const RightFields& f,
                  const RightSettings& settings) {
    xRight r;
    applyCard(r, card);
    if (settings.rightMode == 1) {
        r.setNameText(f.name);
        r.setFlag(kFlagLongNumber, true);
    } else {
        r.validFromDate = packDate(f.validFrom.year, f.validFrom.month, f.validFrom.day);
        r.validFromTime = packTime(f.validFrom.hour, f.validFrom.minute, f.validFrom.second);
        r.validToDate = packDate(f.validTo.year, f.validTo.month, f.validTo.day);
        r.validToTime = packTime(f.validTo.hour, f.validTo.minute, f.validTo.second);
    }
    r.timeZone = static_cast<std::uint8_t>(f.timeZones);
    r.readerMask = static_cast<std::uint8_t>(f.readers);
    r.remainingCount = static_cast<std::uint16_t>(f.times);
    r.setFlag(kFlagParcel, f.parcel);
    r.setFlag(kFlagArrears, f.arrears);
    r.setFlag(kFlagUser1, f.userFlag1);
    r.setFlag(kFlagUser2, f.userFlag2);
    r.setFlag(kFlagUser3, f.userFlag3);
    r.setFlag(kFlagAntiPassback, f.antiPassback);
    r.setReserved(f.reserved & 0xFFFF);
    r.setType(f.typeIndex < 0 ? 0 : static_cast<unsigned>(f.typeIndex));
    applySiteCode(r, settings.siteCode);
    return r;
}

std::variant<xRight, std::string> buildRightOfText(std::string_view utf8Card,
                                                   const RightFields& fields,
                                                   const RightSettings& settings) {
    auto card = cardOfText(utf8Card, settings);
    if (auto* error = std::get_if<std::string>(&card))
        return *error;
    return buildRight(std::get<CardClassification>(card), fields, settings);
}

} // namespace quorvane
