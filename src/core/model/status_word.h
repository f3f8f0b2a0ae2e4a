#pragma once
// The controller's 32-bit live-state word as text: network, fault, serial and Wiegand
// devices, doors, alarms, signal inputs and sound, each bit as 是 or 否. The word is the
// door-access block's run state and also travels inside debug records.
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {
// 是 for a set bit, 否 for a clear one.
std::string_view yesNoText(bool set);
std::string statusWordText(std::uint32_t word, bool multiLine);
} // namespace quorvane
