#include <ostream>

#include "codec_args.h"
#include "commands.h"
#include "protocol/code_tables.h"
#include "protocol/frame.h"

namespace quorvane::cli {

int cmdDecodeFrame(CliContext& ctx) {
    // The words are one hexadecimal string, as for the other decoders.
    auto bytes = hexArgument(ctx.args.positionals());
    if (!bytes) {
        *ctx.err << "not a hexadecimal string (spaces are ignored)\n";
        return kUsage;
    }
    Bytes data(*bytes);
    if (data.size() < kMinFrameSize) {
        *ctx.err << "a frame has at least " << kMinFrameSize << " bytes, got " << data.size()
                 << "\n";
        return kFailed;
    }
    FrameInfo info = inspectFrame(data);
    if (!info.isRequest && !info.isReply) {
        *ctx.err << "unknown frame prefix\n";
        return kFailed;
    }
    auto& out = *ctx.out;
    out << "kind=" << (info.isReply ? "reply" : "request") << "\n";
    out << "target=" << info.target << "\n";
    out << "sequence=" << info.sequence << "\n";
    out << "command=" << int(info.command) << " " << commandName(info.command) << "\n";
    if (info.isReply)
        out << "status=" << int(info.status) << "\n";
    out << "length=" << info.length << "\n";
    bool lengthOk = data.size() == kMinFrameSize + info.length;
    out << "checksum=" << (info.checksumOk ? "ok" : "bad") << "\n";
    if (!lengthOk)
        *ctx.err << "the length field says " << info.length << " payload bytes, the frame holds "
                 << data.size() - kMinFrameSize << "\n";
    return lengthOk && info.checksumOk ? kOk : kFailed;
}

} // namespace quorvane::cli
