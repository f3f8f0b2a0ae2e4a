#pragma once
#include "cli_context.h"

namespace quorvane::cli {
// Offline decoders (cmd_decode_frame.cpp).
int cmdDecodeFrame(CliContext& ctx, const Args& args);
} // namespace quorvane::cli
