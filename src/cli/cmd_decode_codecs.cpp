// decode record, decode right, decode status, decode idcard: offline decoders of the bytes a
// controller sends.
#include <ostream>

#include "cli_context.h"
#include "codec_args.h"
#include "commands.h"
#include "idcard/identity_reply.h"
#include "model/status_word.h"
#include "records/record_decoder.h"
#include "rights/right_settings.h"
#include "rights/right_text.h"

namespace quorvane::cli {
namespace {

// --seq N, 0 when absent; false when present but not a number.
bool sequenceOption(CliContext& ctx, std::uint32_t& sequence) {
    sequence = 0;
    const std::string* v = ctx.args.value("--seq");
    if (!v)
        return true;
    auto n = wordArgument(*v);
    if (n)
        sequence = *n;
    else
        *ctx.err << "option --seq takes a number, not " << *v << "\n";
    return n.has_value();
}

} // namespace

int cmdDecodeRecord(CliContext& ctx) {
    auto bytes = hexArgument(ctx.args.positionals());
    std::uint32_t sequence;
    if (!bytes || !sequenceOption(ctx, sequence))
        return kUsage;
    auto record = LogRecord::decode(*bytes);
    if (!record || bytes->size() != kLogRecordSize) {
        *ctx.err << "a record is 16 bytes\n";
        return kUsage;
    }
    RecordDecodeOptions options;
    options.threeByte = ctx.args.has("--three-byte");
    RecordFieldMap map;
    *ctx.out << decodeRecord(&map, *record, sequence, options) << '\n';
    for (const auto& [key, value] : map.entries())
        *ctx.out << key << '=' << value << '\n';
    return kOk;
}

int cmdDecodeRight(CliContext& ctx) {
    auto bytes = hexArgument(ctx.args.positionals());
    std::uint32_t sequence;
    if (!bytes || !sequenceOption(ctx, sequence))
        return kUsage;
    RightTextOptions options;
    options.rightMode = ctx.settings ? readRightMode(*ctx.settings) : 0;
    options.threeByte = ctx.args.has("--three-byte");
    // A payload right is 24 bytes; in right-mode 0 the 20 stored bytes also do. Any other
    // length would be read in part and printed as if it were whole.
    bool wholeRight = bytes->size() == kRightPayloadLength ||
                      bytes->size() == storedRightLength(options.rightMode);
    auto right = decodeRight(*bytes, options.rightMode);
    if (!right || !wholeRight) {
        *ctx.err << "a right is 24 bytes\n";
        return kUsage;
    }
    *ctx.out << formatRightText(*right, sequence, options) << '\n';
    return kOk;
}

int cmdDecodeStatus(CliContext& ctx) {
    const auto& words = ctx.args.positionals();
    auto word = words.size() == 1 ? wordArgument(words[0]) : std::nullopt;
    if (!word)
        return kUsage;
    std::string text = statusWordText(*word, ctx.args.has("--multi-line"));
    *ctx.out << text;
    if (text.empty() || text.back() != '\n')
        *ctx.out << '\n';
    return kOk;
}

int cmdDecodeIdcard(CliContext& ctx) {
    auto bytes = hexArgument(ctx.args.positionals());
    if (!bytes)
        return kUsage;
    int parseVersion = ctx.settings ? ctx.settings->readInt("global", "2nd-parse-ver", 1) : 1;
    std::string line = identityLine(*bytes, {}, parseVersion);
    *ctx.out << line << '\n';
    return line == kIdentityParseFailed || line == kIdentityNoData ? kFailed : kOk;
}

} // namespace quorvane::cli
