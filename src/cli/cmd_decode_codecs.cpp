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

int usage(CliContext& ctx, std::string_view text) {
    *ctx.err << "usage: " << text << '\n';
    return kUsage;
}

// --seq N, 0 when absent; false when present but not a number.
bool sequenceOption(const Args& args, std::uint32_t& sequence) {
    sequence = 0;
    const std::string* v = flagValue(args, "--seq");
    if (!hasFlag(args, "--seq")) return true;
    if (!v) return false;
    auto n = wordArgument(*v);
    if (n) sequence = *n;
    return n.has_value();
}

} // namespace

int cmdDecodeRecord(CliContext& ctx, const Args& args) {
    constexpr std::string_view kUsageText = "decode record HEX [--seq N] [--three-byte]";
    auto bytes = hexArgument(positionals(args, {"--seq"}));
    std::uint32_t sequence;
    if (!bytes || !sequenceOption(args, sequence)) return usage(ctx, kUsageText);
    auto record = LogRecord::decode(*bytes);
    if (!record || bytes->size() != kLogRecordSize) {
        *ctx.err << "a record is 16 bytes\n";
        return kUsage;
    }
    RecordDecodeOptions options;
    options.threeByte = hasFlag(args, "--three-byte");
    RecordFieldMap map;
    *ctx.out << decodeRecord(&map, *record, sequence, options) << '\n';
    for (const auto& [key, value] : map.entries()) *ctx.out << key << '=' << value << '\n';
    return kOk;
}

int cmdDecodeRight(CliContext& ctx, const Args& args) {
    constexpr std::string_view kUsageText = "decode right HEX [--seq N] [--three-byte]";
    auto bytes = hexArgument(positionals(args, {"--seq"}));
    std::uint32_t sequence;
    if (!bytes || !sequenceOption(args, sequence)) return usage(ctx, kUsageText);
    RightTextOptions options;
    options.rightMode = ctx.settings ? readRightMode(*ctx.settings) : 0;
    options.threeByte = hasFlag(args, "--three-byte");
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

int cmdDecodeStatus(CliContext& ctx, const Args& args) {
    auto words = positionals(args, {});
    auto word = words.size() == 1 ? wordArgument(words[0]) : std::nullopt;
    if (!word) return usage(ctx, "decode status WORD [--multi-line]");
    std::string text = statusWordText(*word, hasFlag(args, "--multi-line"));
    *ctx.out << text;
    if (text.empty() || text.back() != '\n') *ctx.out << '\n';
    return kOk;
}

int cmdDecodeIdcard(CliContext& ctx, const Args& args) {
    auto bytes = hexArgument(positionals(args, {}));
    if (!bytes) return usage(ctx, "decode idcard HEX");
    int parseVersion = ctx.settings ? ctx.settings->readInt("global", "2nd-parse-ver", 1) : 1;
    std::string line = identityLine(*bytes, {}, parseVersion);
    *ctx.out << line << '\n';
    return line == kIdentityParseFailed || line == kIdentityNoData ? kFailed : kOk;
}

} // namespace quorvane::cli
