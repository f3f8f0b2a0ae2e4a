#pragma once
// The numbered fields of the configuration block and the texts the tool shows for them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Text of value in the enumeration named key ("rpt", "ipalloc", "procmode", "rightmode", "dir",
// "mode", "specialmode", "wgformat", "signaltype", "signaldir", "relayerstate", "needrpt",
// "fire", "devtype", and the timer-task byte's "timercond" and "timertask"). A value outside
// the table gives "未知"; an unknown key the empty text.
std::string enumText(std::string_view key, long value);
// The texts of an enumeration in value order (procmode: its six named values).
std::vector<std::string> enumTexts(std::string_view key);

// The device types of the configuration block (30 values).
const std::vector<std::string_view>& deviceTypeNames();
// The reader dialog's own card-number format list (differs from wgformat from value 6 on).
const std::vector<std::string_view>& readerCardFormatNames();
// The serial-port dialog's device-type list (27 texts).
const std::vector<std::string_view>& portDeviceTypeNames();
// Captions of options 1..57 of the door-access block.
const std::vector<std::string_view>& optionCaptions();

} // namespace quorvane
