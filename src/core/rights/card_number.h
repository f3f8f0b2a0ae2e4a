#pragma once
// Card numbers as people type them and as the tool prints them: plain decimal, the
// "facility,card" three-byte form, eight hexadecimal digits, 18-digit identity numbers with
// their check character, 20-digit long numbers and short text identifiers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "rights/x_right.h"

namespace quorvane {

// The three card options of section "options": force-3byte-card, force-8byte-hex,
// force-8bytehex-reverse.
struct CardOptions {
    bool threeByte = false;
    bool eightDigitHex = true;
    bool hexReverse = false;
};

// The card field as text (20 digits, an identity number with its check character, the
// three-byte form or ten decimal digits).
std::string formatCardNumber(const xRight& r, bool threeByteDisplay);
// The same rules for a bare pair of words; longNumber is flag bit 0 (or the record's
// number-form bit).
std::string formatCardWords(std::uint32_t high, std::uint32_t low, bool longNumber,
                            bool threeByteDisplay);

// One typed or listed card number. Nothing when the text is not a card number: the comma form
// with the comma elsewhere than at index 3 or without two numbers, no digits where the number
// must start, or a value beyond 32 bits (24 bits are kept in the three-byte form).
std::optional<std::uint32_t> parseCardNumber(std::string_view text, const CardOptions& options);

// 20 characters: first 10 digits high, last 10 low. Otherwise the first 17 characters: first 8
// high, next 9 low; an 18th (check) character is dropped. Nothing when those characters are
// not all digits or a 10-digit half does not fit 32 bits.
struct CardWords {
    std::uint32_t high = 0;
    std::uint32_t low = 0;
};
std::optional<CardWords> parseIdNumber(std::string_view text);

// ISO 7064 MOD 11-2 over the first 17 digits; nothing when they are not 17 digits.
std::optional<char> idCheckCharacter(std::string_view first17);
// 17 digits followed by the right check character (a lower-case x counts as X).
bool isValidIdNumber(std::string_view number);

// Where a card text came from: the rights dialog's number field and card-number files use all
// three card options and mark 20-digit numbers as long; right lines use the three-byte option
// only.
enum class CardSource { NumberField, RightLine };

struct CardClassification {
    std::uint32_t cardHigh = 0;
    std::uint32_t cardLow = 0;
    bool longNumber = false; // flag bit 0
};
// The text is in GBK (text identifiers are stored as their GBK bytes). An error is the
// message to show for a refused card text; a NUL or a byte that is no GBK character refuses
// it, since dropping it on the way would grant the card the rest of the text names.
std::variant<CardClassification, std::string>
classifyCard(std::string_view gbkText, CardSource source, const CardOptions& options);
// The same for a text as typed (UTF-8): a character GBK cannot hold refuses it.
std::variant<CardClassification, std::string>
classifyCardText(std::string_view utf8Text, CardSource source, const CardOptions& options);
// Puts a classification into the record's card field and flag bit 0 (only ever set, as the
// entry rules do).
void applyCard(xRight& r, const CardClassification& c);

// "卡号格式错误：%s", the message for a card text that is not a card number.
std::string invalidCardMessage(std::string_view utf8Text);

// Site-code scrambling of both card words; code 0 leaves the record as it is.
void applySiteCode(xRight& r, std::uint32_t code);

} // namespace quorvane
