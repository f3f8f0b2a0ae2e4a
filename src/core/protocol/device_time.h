#pragma once
// The controller's clock on the wire: six (read) or seven (set, with the weekday) bytes of two
// BCD digits each, the year counted from 2000.
#include <array>
#include <ctime>
#include <optional>
#include <string>

#include "platform/bytes.h"

namespace quorvane {

// "%04d-%02d-%02d %02d:%02d:%02d" of a read-time reply's payload; nothing when fewer than six
// bytes came.
std::optional<std::string> deviceTimeText(Bytes payload);
// The set-time payload for a local calendar time: year - 2000, month, day, hour, minute,
// second, weekday (0 Sunday).
std::array<std::uint8_t, 7> setTimePayload(const std::tm& local);

} // namespace quorvane
