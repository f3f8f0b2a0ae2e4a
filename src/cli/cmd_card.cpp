// card check, card parse, card convert, right-text parse: the card-number forms and right
// lines, offline.
#include <ostream>

#include "cli_context.h"
#include "commands.h"
#include "idcard/text_to_number.h"
#include "infra/codepage.h"
#include "rights/card_number.h"
#include "rights/right_settings.h"
#include "rights/right_text.h"

namespace quorvane::cli {

int cmdCardCheck(CliContext& ctx) {
    auto words = ctx.args.positionals();
    if (words.size() != 1) {
        return kUsage;
    }
    const std::string& number = words[0];
    auto check = idCheckCharacter(number);
    if (!check) {
        *ctx.out << "bad\n";
        return kFailed;
    }
    bool ok = number.size() == 18 && isValidIdNumber(number);
    *ctx.out << *check << '\n' << (ok ? "ok" : "bad") << '\n';
    return ok ? kOk : kFailed;
}

int cmdCardParse(CliContext& ctx) {
    auto texts = ctx.args.positionals();
    if (texts.empty()) {
        return kUsage;
    }
    CardOptions options = ctx.settings ? readCardOptions(*ctx.settings) : CardOptions{};
    int status = kOk;
    for (const auto& text : texts) {
        auto c = classifyCardText(text, CardSource::NumberField, options);
        if (auto* error = std::get_if<std::string>(&c)) {
            *ctx.out << *error << '\n';
            status = kFailed;
            continue;
        }
        const auto& card = std::get<CardClassification>(c);
        *ctx.out << "high=" << card.cardHigh << " low=" << card.cardLow
                 << " flag0=" << (card.longNumber ? 1 : 0) << '\n';
    }
    return status;
}

int cmdCardConvert(CliContext& ctx) {
    const auto& texts = ctx.args.positionals();
    // One text a line, as typed into the dialog's box: a single empty text is an empty box.
    std::string input;
    for (std::size_t i = 0; i < texts.size(); ++i)
        input += (i ? "\n" : "") + texts[i];
    auto result = convertTextsToNumbers(input, ctx.args.has("--force"), ctx.args.has("--reverse"));
    for (std::size_t start = 0; start < result.output.size();) {
        std::size_t end = result.output.find("\r\n", start);
        *ctx.out << result.output.substr(start, end - start) << '\n';
        start = end + 2;
    }
    *ctx.out << result.message << '\n';
    return result.noData ? kFailed : kOk;
}

int cmdRightTextParse(CliContext& ctx) {
    auto words = ctx.args.positionals();
    if (words.size() != 1) {
        return kUsage;
    }
    RightTextOptions options;
    if (ctx.settings) {
        options.rightMode = readRightMode(*ctx.settings);
        options.threeByte = readCardOptions(*ctx.settings).threeByte;
    }
    auto parsed = parseRightText(words[0], options);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        *ctx.out << *error << '\n';
        return kFailed;
    }
    *ctx.out << formatRightText(std::get<xRight>(parsed), 0, options) << '\n';
    return kOk;
}

} // namespace quorvane::cli
