#pragma once
#include "cli_context.h"

namespace quorvane::cli {
// Offline decoders (cmd_decode_frame.cpp).
int cmdDecodeFrame(CliContext& ctx, const Args& args);
// Offline decoders of records, rights, status words and identity replies (cmd_decode_codecs.cpp).
int cmdDecodeRecord(CliContext& ctx, const Args& args);
int cmdDecodeRight(CliContext& ctx, const Args& args);
int cmdDecodeStatus(CliContext& ctx, const Args& args);
int cmdDecodeIdcard(CliContext& ctx, const Args& args);
// Card numbers and right lines (cmd_card.cpp).
int cmdCardCheck(CliContext& ctx, const Args& args);
int cmdCardParse(CliContext& ctx, const Args& args);
int cmdCardConvert(CliContext& ctx, const Args& args);
int cmdRightTextParse(CliContext& ctx, const Args& args);
} // namespace quorvane::cli
