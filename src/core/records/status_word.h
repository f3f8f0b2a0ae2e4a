#pragma once
// The controller's 32-bit live-state word as text: network, fault, serial and Wiegand
// devices, doors, alarms, signal inputs and sound, each bit as 是 or 否.
#include <cstdint>
#include <string>

namespace quorvane {
std::string statusWordText(std::uint32_t word, bool multiLine);
} // namespace quorvane
