#pragma once
#include "cli_context.h"

namespace quorvane::cli {
// Offline decoders (cmd_decode_frame.cpp).
int cmdDecodeFrame(CliContext& ctx, const Args& args);
// Search (cmd_search.cpp).
int cmdSearch(CliContext& ctx, const Args& args);
} // namespace quorvane::cli
