#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {
// Display name of a command code; empty for a code without a name.
std::string_view commandName(int code);
// Text of the system status a controller reports.
std::string deviceStatusText(int status);
// Text of a failed open-door reply's status.
std::string openResultText(int status);
// Message of the general error reply (code 255) for its status byte.
std::string errorReplyText(int status);
} // namespace quorvane
