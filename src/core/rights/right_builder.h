#pragma once
// A card text of the number field and the dialog's fields made into what goes to the
// controller: the whole right for an add, the card words for a remove, a check or a read.
#include <string>
#include <string_view>
#include <variant>

#include "rights/card_number.h"
#include "rights/right_fields.h"
#include "rights/right_settings.h"
#include "rights/x_right.h"

namespace quorvane {

// The card words of a number-field text (all three card options; never scrambled). An error
// is the message for a text that is not a card ("卡号格式错误：…").
std::variant<CardClassification, std::string> cardOfText(std::string_view utf8Card,
                                                         const RightSettings& settings);

// The right an add sends: the card, in right-mode 1 the name (and flag bit 0), otherwise the
// validity period; time zones, readers, remaining uses; parcel, arrears, user flags 1..3,
// anti-passback, the reserved 16 bits and the type; location 0. A non-zero site code
// scrambles both card words.
xRight buildRight(const CardClassification& card, const RightFields& fields,
                  const RightSettings& settings);

// The same from a card text.
std::variant<xRight, std::string> buildRightOfText(std::string_view utf8Card,
                                                   const RightFields& fields,
                                                   const RightSettings& settings);

} // namespace quorvane
